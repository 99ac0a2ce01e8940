#include "apply.h"

#include "startup.h"

namespace lumbrake {

using platform::kErrorFileNotFound;
using platform::kErrorSuccess;
using platform::kHkeyCurrentUser;

namespace {

const std::wstring kPolicy(kPolicyKey);
const std::wstring kPlaces(kPlacesKey);
const std::wstring kNoBar(kNoPlacesBar);

// A delete of something already gone is what the user asked for.
bool Deleted(long rc) { return rc == kErrorSuccess || rc == kErrorFileNotFound; }

// Deletes the policy key when nothing is left in it. Other policies kept in
// the key (an administrator's, another program's) stay, and so does the key;
// an empty key that cannot be deleted changes nothing the dialog reads.
void DeleteKeyIfEmpty(Module1& module, const std::wstring& keyPath) {
    platform::Registry& registry = module.Registry();
    platform::UniqueRegKey key(registry);
    if (registry.OpenKeyExW(kHkeyCurrentUser, keyPath, platform::kKeyRead, key.put()) != kErrorSuccess) return;
    std::uint32_t subKeys = 0, values = 0;
    if (registry.QueryInfoKey(key.get(), &subKeys, &values) != kErrorSuccess) return;
    key.reset();
    if (subKeys == 0 && values == 0) static_cast<void>(module.DeleteKey(kHkeyCurrentUser, keyPath));
}

}  // namespace

bool SavePlaces(Module1& module, const SlotTexts& slotTexts) {
    bool ok = true;
    for (std::int16_t slot = 0; slot < kSlotCount; ++slot) {
        const std::wstring& shown = slotTexts[static_cast<std::size_t>(slot)];
        // What the user did not change is not written back: the window may
        // show a value it cannot store the same way (a type of its own, bytes
        // the code page lacks), and rewriting it would change it.
        if (shown == ReadShownPlace(module, slot).text) continue;
        const std::wstring text = TrimSpaces(shown);
        const std::wstring name = SavedSlotValueName(slot);
        if (text.empty()) {
            ok &= Deleted(module.DeleteKeyValue(kHkeyCurrentUser, kPlaces, name));
        } else if (std::optional<std::int32_t> folderId = PlaceEntryFolderId(text)) {
            ok &= module.SetKeyValue(kHkeyCurrentUser, kPlaces, name, *folderId, platform::kRegDword) == kErrorSuccess;
        } else {
            ok &= module.SetKeyValue(kHkeyCurrentUser, kPlaces, name, text, platform::kRegSz) == kErrorSuccess;
        }
    }
    return ok;
}

ApplyOutcome ApplyMode(Module1& module, std::int16_t placesMode, const SlotTexts& slotTexts) {
    if (placesMode != kModeSystemDefault && placesMode != kModeNoPlacesBar && placesMode != kModeCustom) return ApplyOutcome::UnknownMode;
    bool ok = true;
    // Each step runs only where the registry does not already say what it
    // would write, judged as start-up judges it: applying the mode the
    // window found, unchanged, changes nothing.
    const bool hidden = PlacesBarHidden(module);
    switch (placesMode) {
    case kModeSystemDefault:
        if (module.KeyExists(kHkeyCurrentUser, kPlaces)) ok &= Deleted(module.DeleteKey(kHkeyCurrentUser, kPlaces));
        if (hidden) ok &= Deleted(module.DeleteKeyValue(kHkeyCurrentUser, kPolicy, kNoBar));
        DeleteKeyIfEmpty(module, kPolicy);
        break;
    case kModeNoPlacesBar:
        // Already hidden: the places key is not read while the switch is set,
        // and the switch already counts, whatever its type.
        if (hidden) break;
        ok &= Deleted(module.DeleteKey(kHkeyCurrentUser, kPlaces));
        ok &= module.CreateKey(kHkeyCurrentUser, kPolicy) == kErrorSuccess;
        ok &= module.SetKeyValue(kHkeyCurrentUser, kPolicy, kNoBar, 1, platform::kRegDword) == kErrorSuccess;
        break;
    case kModeCustom:
        if (hidden) ok &= Deleted(module.DeleteKeyValue(kHkeyCurrentUser, kPolicy, kNoBar));
        if (!module.KeyExists(kHkeyCurrentUser, kPlaces)) {
            ok &= module.CreateKey(kHkeyCurrentUser, kPolicy) == kErrorSuccess;
            ok &= module.CreateKey(kHkeyCurrentUser, kPlaces) == kErrorSuccess;
        }
        ok &= SavePlaces(module, slotTexts);
        break;
    }
    return ok ? ApplyOutcome::Confirmed : ApplyOutcome::Failed;
}

ApplyMessage MessageFor(ApplyOutcome outcome, std::int16_t placesMode) {
    if (outcome == ApplyOutcome::UnknownMode) return {L"出现未知错误，请重新设置！", false};
    if (outcome == ApplyOutcome::Failed) return {L"写入注册表失败，设置没有生效！", true};
    switch (placesMode) {
    case kModeSystemDefault: return {L"你已经设置对话框的常用位置为 [ 系统默认 ] ！", false};
    case kModeNoPlacesBar: return {L"你已经设置对话框的常用位置为 [ 不显示 ] ！", false};
    default: return {L"你已经设置对话框的常用位置为 [ 自定义 ] ！", false};
    }
}

}  // namespace lumbrake
