#include "verbs.h"

#include "policy.h"
#include "text.h"

#include <places_bar/check.h>
#include <platform/reg_value.h>

namespace lumbrake::cli {

using namespace platform;

namespace {

// Why the dialogs leave a place out.
std::wstring Reason(const Session& session, const PlaceCheck& check) {
    const std::wstring code = Hex32(static_cast<std::uint32_t>(check.found.code));
    const std::wstring why = session.host.console.ErrorText(check.found.code);
    switch (check.reason) {
    case DropReason::UnknownFolderId: return session.Text(msg::kUnknownFolderId, {std::to_wstring(static_cast<std::int32_t>(*DwordOf(check.stored))), code, why});
    case DropReason::PathNotFound: return session.Text(msg::kPathNotFound, {code, why});
    case DropReason::WrongDwordSize: return session.Text(msg::kWrongDwordSize, {std::to_wstring(check.stored.data.size())});
    case DropReason::WrongType: return session.Text(msg::kWrongType, {RegTypeName(check.stored.type)});
    case DropReason::None: break;
    }
    return {};
}

}  // namespace

int Check(Session& session, const Request& request) {
    const std::optional<Session::Current> current = session.ReadCurrent();
    if (!current) return kExitFailed;
    const std::int16_t mode = current->reading.mode;

    std::array<StoredValue, kSlotCount> stored;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (const NamedValue* value = StoredPlace(current->policy, slot)) stored[static_cast<std::size_t>(slot)] = {Presence::Present, value->value, 0};
    const std::vector<PlaceCheck> results = CheckPlaces(stored, session.host.places);
    std::size_t dropped = 0;
    for (const PlaceCheck& result : results) dropped += !result.found.resolved;
    const std::wstring count = std::to_wstring(results.size());

    if (request.json) {
        Json json;
        json.Object().Key("mode").String(Session::ModeWord(mode));
        json.Key("places").Array();
        for (const PlaceCheck& result : results) {
            json.Object().Key("value").String(ReadSlotValueName(result.slot)).Key("stored");
            Session::JsonValue(json, result.stored);
            json.Key("found").Bool(result.found.resolved);
            if (result.found.resolved) json.Key("shownAs").String(result.found.displayName);
            else json.Key("reason").String(Reason(session, result));
            json.End();
        }
        json.End().Key("dropped").Number(static_cast<long long>(dropped)).End();
        session.Print(json);
    } else {
        session.Out(session.Text(msg::kPlacesBarIs, {session.ModeName(mode)}));
        if (results.empty()) session.Out(session.Text(msg::kNoStoredPlaces));
        for (const PlaceCheck& result : results) {
            const std::wstring verdict = result.found.resolved ? session.Text(msg::kFound, {result.found.displayName})
                                                               : session.Text(msg::kDropped, {Reason(session, result)});
            session.Out(ReadSlotValueName(result.slot) + L"  " + session.ValueText(result.stored) + L"  " + verdict);
        }
        if (!results.empty() && dropped == 0) session.Out(session.Text(msg::kAllFound, {count}));
        if (dropped) session.Out(session.Text(msg::kSomeDropped, {std::to_wstring(dropped), count}));
    }
    return dropped ? kExitFailed : kExitDone;
}

}  // namespace lumbrake::cli
