#include "verbs.h"

#include "place_names.h"
#include "policy.h"

#include <platform/reg_value.h>

#include <algorithm>

namespace lumbrake::cli {

using namespace platform;

namespace {

// The three labels of a slot, padded alike so that what follows them
// lines up; a Chinese character takes two columns of a console.
std::wstring Label(const Session& session, const Message& label) {
    auto columns = [](std::wstring_view text) {
        std::size_t width = 0;
        for (wchar_t c : text) width += c >= 0x2E80 ? 2 : 1;
        return width;
    };
    std::size_t width = 0;
    for (const Message* each : {&msg::kShownAs, &msg::kStored, &msg::kMeans}) width = std::max(width, columns(session.Text(*each)));
    const std::wstring text = session.Text(label);
    return text + std::wstring(width - columns(text) + 2, L' ');
}

struct Meaning {
    std::wstring_view kind;
    std::wstring text;
};

Meaning MeaningOf(const Session& session, const NamedValue* stored) {
    if (!stored) return {L"empty", session.Text(msg::kNothingStored)};
    const RegValue& value = stored->value;
    if (const std::optional<std::uint32_t> number = DwordOf(value)) {
        const auto id = static_cast<std::int32_t>(*number);
        const std::wstring decimal = std::to_wstring(id);
        if (const auto entry = EntryOfFolderId(id))
            return {L"folderId", session.Text(msg::kFolderIdListed, {decimal, kEnglishPlaceNames[*entry], ListedName(*entry)})};
        const Resolution found = session.host.places.ResolveFolderId(*number);
        return {L"folderId", found.resolved ? session.Text(msg::kFolderIdOther, {decimal, found.displayName}) : session.Text(msg::kFolderIdUnknown, {decimal})};
    }
    const std::wstring text = StringOf(value);
    if (IsTextType(value.type) && !HasControlCharacter(text)) return {L"path", session.Text(msg::kFolderPath, {text})};
    return {L"other", session.Text(msg::kNotAPlace, {RegTypeName(value.type)})};
}

struct OtherValue {
    std::wstring keyPath;
    const NamedValue* value;
};

// Everything in the policy key but the switch, the places key and its five slots.
void CollectOthers(const std::wstring& path, const KeyNode& node, int depth, std::vector<OtherValue>& values, std::vector<std::wstring>& keys) {
    const bool places = depth == 1 && SameName(node.name, kPlacesName);
    if (depth == 1 && !places) keys.push_back(path);
    for (const NamedValue& value : node.values) {
        bool known = depth == 0 && SameName(value.name, kNoPlacesBar);
        for (int slot = 0; places && slot < kSlotCount; ++slot) known = known || SameName(value.name, ReadSlotValueName(slot));
        if (!known) values.push_back({path, &value});
    }
    for (const KeyNode& key : node.keys) {
        if (depth >= 1) keys.push_back(path + L"\\" + key.name);
        CollectOthers(path + L"\\" + key.name, key, depth + 1, values, keys);
    }
}

}  // namespace

int Show(Session& session, const Request& request) {
    const std::optional<Session::Current> current = session.ReadCurrent();
    if (!current) return kExitFailed;
    const KeyState& policy = current->policy;
    const std::int16_t mode = current->reading.mode;
    const SlotTexts shownTexts = ShownTexts(current->reading);
    std::vector<OtherValue> others;
    std::vector<std::wstring> otherKeys;
    if (policy) CollectOthers(kPolicyFullPath, *policy, 0, others, otherKeys);
    const NamedValue* noPlacesBar = policy ? policy->FindValue(kNoPlacesBar) : nullptr;

    if (request.json) {
        Json json;
        json.Object().Key("mode").String(Session::ModeWord(mode));
        json.Key("policyKey").String(kPolicyFullPath).Key("policyKeyExists").Bool(policy.has_value());
        json.Key("noPlacesBar");
        if (noPlacesBar) Session::JsonValue(json, noPlacesBar->value);
        else json.Null();
        json.Key("slots").Array();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const NamedValue* stored = StoredPlace(policy, slot);
            const Meaning meaning = MeaningOf(session, stored);
            json.Object().Key("value").String(ReadSlotValueName(slot)).Key("shown").String(shownTexts[static_cast<std::size_t>(slot)]);
            json.Key("stored");
            if (stored) Session::JsonValue(json, stored->value);
            else json.Null();
            json.Key("kind").String(meaning.kind);
            json.Key("meaning").String(meaning.text).End();
        }
        json.End().Key("otherValues").Array();
        for (const OtherValue& other : others) {
            json.Object().Key("key").String(other.keyPath).Key("name").String(other.value->name).Key("value");
            Session::JsonValue(json, other.value->value);
            json.End();
        }
        json.End().Key("otherKeys").Array();
        for (const std::wstring& key : otherKeys) json.String(key);
        json.End().End();
        session.Print(json);
        return kExitDone;
    }

    session.Out(session.Text(msg::kPlacesBarIs, {session.ModeName(mode)}));
    session.Out(session.Text(policy ? msg::kPolicyKeyIs : msg::kPolicyKeyAbsent, {kPolicyFullPath}));
    if (noPlacesBar) session.Out(std::wstring(kNoPlacesBar) + L"  " + session.ValueText(noPlacesBar->value));
    const bool placesKey = policy && policy->FindKey(kPlacesName);
    if (placesKey) {
        session.Out({});
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const NamedValue* stored = StoredPlace(policy, slot);
            const std::wstring name = ReadSlotValueName(slot);
            if (!stored) {
                session.Out(name + L"  " + session.Text(msg::kNothingStored));
                continue;
            }
            const std::wstring& shown = shownTexts[static_cast<std::size_t>(slot)];
            const std::wstring indent(name.size() + 2, L' ');
            session.Out(name + L"  " + Label(session, msg::kShownAs) + (shown.empty() ? session.Text(msg::kEmpty) : shown));
            session.Out(indent + Label(session, msg::kStored) + session.ValueText(stored->value));
            session.Out(indent + Label(session, msg::kMeans) + MeaningOf(session, stored).text);
        }
        if (mode == kModeNoPlacesBar) session.Out(session.Text(msg::kNotShownWhileHidden));
    }
    if (!others.empty() || !otherKeys.empty()) {
        session.Out({});
        session.Out(session.Text(msg::kOtherValues));
        for (const OtherValue& other : others)
            session.Out(L"  " + other.keyPath + L"\\" + (other.value->name.empty() ? L"@" : other.value->name) + L" = " + session.ValueText(other.value->value));
        for (const std::wstring& key : otherKeys) session.Out(session.Text(msg::kOtherKey, {key}));
    }
    return kExitDone;
}

}  // namespace lumbrake::cli
