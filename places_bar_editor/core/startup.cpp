#include "startup.h"

#include "places.h"

namespace lumbrake {

namespace {

void ShowMode(Form1View& view, std::int16_t mode) {
    view.SelectOption(mode);
    view.SetFrameEnabled(mode == kModeCustom);
}

void FillSlot(Module1& module, Form1View& view, int slot) {
    const ShownPlace shown = ReadShownPlace(module, slot);
    if (shown.text.empty()) return;
    if (shown.entry) view.SelectListItem(slot, *shown.entry);
    else view.SetSlotText(slot, shown.text);
    view.SetSlotToolTip(slot, shown.text);
}

}  // namespace

ShownPlace ShowPlace(const RegistryValue& stored) {
    const std::wstring s = TextForm(stored);
    if (s.empty()) return {};
    if (const auto* id = std::get_if<std::int32_t>(&stored)) {
        for (std::size_t index = 0; index < kPlaceEntries.size(); ++index) {
            if (PlaceEntryFolderId(kPlaceEntries[index]) == *id) return {std::wstring(kPlaceEntries[index]), static_cast<int>(index)};
        }
        // A folder id the list lacks shows as its number, so that the slot
        // is not taken for empty and its value is kept.
        return {s, std::nullopt};
    }
    if (std::holds_alternative<std::wstring>(stored)) return {DisplayedFolderPath(s), std::nullopt};
    return {s, std::nullopt};
}

ShownPlace ReadShownPlace(Module1& module, int slot) {
    return ShowPlace(module.GetKeyValue(platform::kHkeyCurrentUser, std::wstring(kPlacesKey), ReadSlotValueName(slot)));
}

bool PlacesBarHidden(Module1& module) {
    return !TextForm(module.GetKeyValue(platform::kHkeyCurrentUser, std::wstring(kPolicyKey), std::wstring(kNoPlacesBar))).empty();
}

std::wstring DisplayedFolderPath(const std::wstring& storedPath) {
    constexpr std::wstring_view kSystemDrive = L"%SystemDrive%\\";
    if (storedPath.starts_with(kSystemDrive)) return L"c:\\" + storedPath.substr(kSystemDrive.size());
    return storedPath;
}

std::int16_t LoadPlacesConfiguration(Module1& module, Form1View& view) {
    if (PlacesBarHidden(module)) {
        ShowMode(view, kModeNoPlacesBar);
        return kModeNoPlacesBar;
    }
    // The places key only has to exist.
    if (!module.KeyExists(platform::kHkeyCurrentUser, std::wstring(kPlacesKey))) {
        ShowMode(view, kModeSystemDefault);
        return kModeSystemDefault;
    }
    ShowMode(view, kModeCustom);
    for (int slot = 0; slot < kSlotCount; ++slot) FillSlot(module, view, slot);
    return kModeCustom;
}

}  // namespace lumbrake
