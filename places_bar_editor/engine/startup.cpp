#include <places_bar/startup.h>

#include <platform/reg_value.h>

namespace lumbrake {

using platform::kHkeyCurrentUser;

ShownPlace ShowPlace(const RegistryValue& stored) {
    const std::wstring s = TextForm(stored);
    if (s.empty()) return {};
    if (const auto* id = std::get_if<std::int32_t>(&stored)) {
        if (const std::optional<std::size_t> entry = EntryOfFolderId(*id)) return {std::wstring(kPlaceEntries[*entry]), static_cast<int>(*entry)};
        // A folder id the list lacks shows as its number, so that the slot
        // is not taken for empty and its value is kept.
        return {s, std::nullopt};
    }
    if (std::holds_alternative<std::wstring>(stored)) return {DisplayedFolderPath(s), std::nullopt};
    return {s, std::nullopt};
}

ShownPlace ShowPlace(const StoredValue& stored) {
    if (stored.presence != Presence::Present) return {};
    return ShowPlace(Decode(stored.value));
}

std::wstring DisplayedFolderPath(const std::wstring& storedPath) {
    constexpr std::wstring_view kSystemDrive = L"%SystemDrive%\\";
    if (storedPath.starts_with(kSystemDrive)) return L"c:\\" + storedPath.substr(kSystemDrive.size());
    return storedPath;
}

bool CountsAsHidden(const StoredValue& noPlacesBar) {
    return noPlacesBar.presence == Presence::Present && !TextForm(Decode(noPlacesBar.value)).empty();
}

bool DialogsHideBar(const StoredValue& noPlacesBar) {
    const std::optional<std::uint32_t> number = platform::DwordOf(noPlacesBar.value);
    return noPlacesBar.presence == Presence::Present && number && *number != 0;
}

PlacesReading ReadPlaces(Module1& module) {
    PlacesReading reading;
    const std::wstring policy(kPolicyKey), places(kPlacesKey);
    auto failed = [&](const std::wstring& keyPath, const std::wstring& name, long error) { reading.failures.push_back({keyPath, name, error}); };

    StoredValue& noPlacesBar = reading.noPlacesBar;
    static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, policy, std::wstring(kNoPlacesBar), &noPlacesBar));
    if (noPlacesBar.presence == Presence::Unreadable) failed(policy, std::wstring(kNoPlacesBar), noPlacesBar.error);
    if (CountsAsHidden(noPlacesBar)) {
        reading.mode = kModeNoPlacesBar;
        return reading;
    }
    // The places key only has to exist.
    long error = 0;
    reading.placesKey = module.ProbeKey(kHkeyCurrentUser, places, &error);
    const Presence placesKey = *reading.placesKey;
    if (placesKey != Presence::Present) {
        for (auto& slot : reading.slots) slot = SlotReading{{placesKey, {}, placesKey == Presence::Unreadable ? error : 0}, {}};
        if (placesKey == Presence::Unreadable) failed(places, {}, error);
        return reading;
    }
    reading.mode = kModeCustom;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotReading& read = reading.slots[static_cast<std::size_t>(slot)].emplace();
        const RegistryValue value = module.GetKeyValue(kHkeyCurrentUser, places, ReadSlotValueName(slot), &read.stored);
        read.shown = ShowPlace(value);
        if (read.stored.presence == Presence::Unreadable) failed(places, ReadSlotValueName(slot), read.stored.error);
    }
    return reading;
}

SlotTexts ShownTexts(const PlacesReading& reading) {
    SlotTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (reading.slots[i]) texts[i] = reading.slots[i]->shown.text;
    return texts;
}

}  // namespace lumbrake
