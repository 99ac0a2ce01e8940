#include "verbs.h"

#include "policy.h"

#include <platform/ansi.h>

namespace lumbrake::cli {

using namespace platform;

// The configuration given, or the current one, as a .reg file or a Group
// Policy Preferences collection.
int Export(Session& session, const Request& request) {
    std::int16_t mode = 0;
    KeyState policy;
    if (const auto& given = request.configuration) {
        // The apply on an empty registry: what `set` stores, exactly.
        const Plan onEmpty = PlanApply({}, given->mode, ModeChoice::Chosen, given->slots, RegistryNow{});
        if (session.RefuseUnstorable(onEmpty.steps)) return kExitFailed;
        std::optional<KeyState> stored = Simulate(std::nullopt, session.host.codePage, onEmpty.steps);
        if (!stored) {
            session.Err(session.Confirmation(ApplyOutcome::Failed, given->mode));
            return kExitFailed;
        }
        mode = given->mode;
        policy = std::move(*stored);
    } else {
        std::optional<Session::Current> current = session.ReadCurrent();
        if (!current) return kExitFailed;
        mode = current->reading.mode;
        policy = std::move(current->policy);
    }
    const PlacesPolicy plan = PolicyOf(mode, policy);
    std::wstring text;
    std::string bytes;
    if (request.gpp) {
        const std::vector<GppItem> items = PolicyItems(plan);
        std::vector<std::wstring> uids;
        for (std::size_t i = 0; i < items.size(); ++i) uids.push_back(session.host.clock.NewGuid());
        auto xml = RegistryXml(items, uids, session.host.clock.UtcNow());
        if (const auto* unfit = std::get_if<GppUnfit>(&xml)) {
            session.Err(session.Text(msg::kGppUnfit, {L"HKEY_CURRENT_USER\\" + unfit->keyPath, unfit->valueName}));
            return kExitFailed;
        }
        text = std::get<std::wstring>(xml);
        bytes = ToUtf8(text);
    } else {
        const std::vector<RegSection> sections = PolicySections(plan);
        text = RegFileText(sections);
        bytes = RegFileBytes(sections);
    }
    if (!request.output) {
        session.WriteFile(bytes, text);
        return kExitDone;
    }
    if (long rc = session.host.files.WriteFile(*request.output, bytes); rc != kErrorSuccess) {
        session.Err(session.Text(msg::kCannotWriteFile, {*request.output, session.host.console.ErrorText(rc)}));
        return kExitFailed;
    }
    session.Out(session.Text(msg::kExportWritten, {*request.output}));
    return kExitDone;
}

}  // namespace lumbrake::cli
