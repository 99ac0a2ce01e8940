#include "startup.h"

#include "places.h"

namespace lumbrake {

namespace {

void ShowMode(Form1View& view, std::int16_t mode) {
    view.SelectOption(mode);
    view.SetFrameEnabled(mode == kModeCustom);
}

void FillSlot(Module1& module, Form1View& view, int slot) {
    const std::wstring s = TextForm(module.GetKeyValue(platform::kHkeyCurrentUser, std::wstring(kPlacesKey), ReadSlotValueName(slot)));
    if (s.empty()) return;
    if (module.LastValueKind == 2) {
        const int count = view.ListCount(slot);
        for (int index = 0; index < count; ++index) {
            std::optional<std::int32_t> id = PlaceEntryFolderId(view.ListItem(slot, index));
            if (id && std::to_wstring(*id) == s) {
                view.SelectListItem(slot, index);
                view.SetSlotToolTip(slot, view.SlotText(slot));
                return;
            }
        }
        return;
    }
    const std::wstring shown = DisplayedFolderPath(s);
    view.SetSlotText(slot, shown);
    view.SetSlotToolTip(slot, shown);
}

}  // namespace

std::wstring DisplayedFolderPath(const std::wstring& storedPath) {
    constexpr std::wstring_view kSystemDrive = L"%SystemDrive%\\";
    if (storedPath.starts_with(kSystemDrive)) return L"c:\\" + storedPath.substr(kSystemDrive.size());
    return storedPath;
}

std::int16_t LoadPlacesConfiguration(Module1& module, Form1View& view) {
    const RegistryValue noPlacesBar = module.GetKeyValue(platform::kHkeyCurrentUser, std::wstring(kPolicyKey), std::wstring(kNoPlacesBar));
    if (!TextForm(noPlacesBar).empty()) {
        ShowMode(view, kModeNoPlacesBar);
        return kModeNoPlacesBar;
    }

    // The places key only has to exist; its handle serves for nothing else.
    platform::Registry& registry = module.Registry();
    platform::UniqueRegKey placesKey(registry);
    const std::string placesPath = module.CodePage().ToAnsi(kPlacesKey).value_or(std::string());
    if (registry.OpenKey(platform::kHkeyCurrentUser, placesPath, placesKey.put()) != platform::kErrorSuccess) {
        ShowMode(view, kModeSystemDefault);
        return kModeSystemDefault;
    }
    placesKey.reset();

    ShowMode(view, kModeCustom);
    for (int slot = 0; slot < kSlotCount; ++slot) FillSlot(module, view, slot);
    return kModeCustom;
}

}  // namespace lumbrake
