#include "apply.h"

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

// True when the key is absent, or deleted because nothing was left in it.
// Other policies kept in the key (an administrator's, another program's) stay.
bool DeleteKeyIfEmpty(Module1& module, const std::wstring& keyPath) {
    platform::Registry& registry = module.Registry();
    platform::UniqueRegKey key(registry);
    const std::string ansiPath = module.CodePage().ToAnsi(keyPath).value_or(std::string());
    long rc = registry.OpenKeyEx(kHkeyCurrentUser, ansiPath, platform::kKeyAccess, key.put());
    if (rc == kErrorFileNotFound) return true;
    if (rc != kErrorSuccess) return false;
    std::uint32_t subKeys = 0, values = 0;
    if (registry.QueryInfoKey(key.get(), &subKeys, &values) != kErrorSuccess) return false;
    key.reset();
    if (subKeys != 0 || values != 0) return true;
    return Deleted(module.DeleteKey(kHkeyCurrentUser, keyPath));
}

}  // namespace

bool SavePlaces(Module1& module, const SlotTexts& slotTexts) {
    bool ok = true;
    for (std::int16_t slot = 0; slot < kSlotCount; ++slot) {
        const std::wstring text = TrimSpaces(slotTexts[static_cast<std::size_t>(slot)]);
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
    bool ok = true;
    switch (placesMode) {
    case kModeSystemDefault:
        ok &= Deleted(module.DeleteKey(kHkeyCurrentUser, kPlaces));
        ok &= Deleted(module.DeleteKeyValue(kHkeyCurrentUser, kPolicy, kNoBar));
        ok &= DeleteKeyIfEmpty(module, kPolicy);
        break;
    case kModeNoPlacesBar:
        ok &= Deleted(module.DeleteKey(kHkeyCurrentUser, kPlaces));
        ok &= module.CreateKey(kHkeyCurrentUser, kPolicy) == kErrorSuccess;
        ok &= module.SetKeyValue(kHkeyCurrentUser, kPolicy, kNoBar, 1, platform::kRegDword) == kErrorSuccess;
        break;
    case kModeCustom:
        ok &= Deleted(module.DeleteKeyValue(kHkeyCurrentUser, kPolicy, kNoBar));
        ok &= module.CreateKey(kHkeyCurrentUser, kPolicy) == kErrorSuccess;
        ok &= module.CreateKey(kHkeyCurrentUser, kPlaces) == kErrorSuccess;
        ok &= SavePlaces(module, slotTexts);
        break;
    default:
        return ApplyOutcome::UnknownMode;
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
