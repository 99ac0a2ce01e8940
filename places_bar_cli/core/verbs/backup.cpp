#include "verbs.h"

#include "policy.h"
#include "reg_file.h"

#include <iterator>

namespace lumbrake::cli {

using namespace platform;

namespace {

std::wstring Problem(const Session& session, RegFileProblem problem) {
    static constexpr const Message* kTexts[] = {
        &msg::kNotARegistryFile, &msg::kOddLength,    &msg::kNotInFileCodePage, &msg::kNulCharacter, &msg::kBadKeyLine,
        &msg::kValueWithoutKey,  &msg::kBadValueName, &msg::kBadEscape,         &msg::kBadData,      &msg::kUnknownLine,
    };
    static_assert(std::size(kTexts) == static_cast<std::size_t>(RegFileProblem::UnknownLine) + 1, "one text per problem");
    return session.Text(*kTexts[static_cast<int>(problem)]);
}

}  // namespace

int Backup(Session& session, const Request& request) {
    const std::optional<KeyState> policy = session.ReadPolicy();
    if (!policy) return kExitFailed;
    if (long rc = session.host.files.WriteFile(request.file, RegFileBytes(SectionsOfTree(kPolicyFullPath, *policy, true))); rc != kErrorSuccess) {
        session.Err(session.Text(msg::kCannotWriteFile, {request.file, session.host.console.ErrorText(rc)}));
        return kExitFailed;
    }
    session.Out(session.Text(msg::kBackupWritten, {kPolicyFullPath, request.file}));
    if (!*policy) session.Out(session.Text(msg::kBackupOfAbsentKey));
    return kExitDone;
}

int Restore(Session& session, const Request& request) {
    long error = 0;
    const std::optional<std::string> bytes = session.host.files.ReadFile(request.file, error);
    if (!bytes) {
        session.Err(session.Text(msg::kCannotReadFile, {request.file, session.host.console.ErrorText(error)}));
        return kExitUsage;
    }
    const auto parsed = ParseRegFile(*bytes, session.host.codePage);
    if (const auto* bad = std::get_if<RegFileError>(&parsed)) {
        session.Err(session.Text(msg::kBadFile, {request.file, std::to_wstring(bad->line), Problem(session, bad->problem)}));
        return kExitUsage;
    }
    const std::vector<RegOperation>& operations = std::get<RegFile>(parsed).operations;
    if (operations.empty()) {
        session.Err(session.Text(msg::kNoKeyInFile, {request.file}));
        return kExitUsage;
    }
    const auto target = StateAfter(kPolicyFullPath, operations);
    if (const auto* outside = std::get_if<KeyOutside>(&target)) {
        session.Err(session.Text(msg::kOutsideKey, {request.file, std::to_wstring(outside->line), outside->keyPath, kPolicyFullPath}));
        return kExitFailed;
    }
    const KeyState& wanted = std::get<KeyState>(target);
    const std::optional<KeyState> before = session.ReadPolicy();
    if (!before) return kExitFailed;
    const std::vector<Step> changes = Diff(kPolicyPath, *before, wanted);
    if (changes.empty()) {
        session.Out(session.Text(msg::kAlreadyRestored, {request.file}));
        return kExitDone;
    }
    session.ListChanges(changes, request.dryRun);
    if (request.dryRun) return kExitDone;
    if (!session.SaveBackup(request, *before)) return kExitFailed;

    // Whatever was not done shows in the comparison below.
    static_cast<void>(session.RunSteps(changes));
    const std::optional<KeyState> after = session.ReadPolicy();
    if (!after) return kExitFailed;
    if (!session.NamesNoDifference(*after, wanted)) {
        session.Err(session.Text(msg::kRestoreFailed, {request.file}));
        return kExitFailed;
    }
    session.Out(session.Text(msg::kRestored, {request.file}));
    return kExitDone;
}

}  // namespace lumbrake::cli
