#include <places_bar/apply.h>

#include <platform/reg_value.h>

#include <algorithm>

namespace lumbrake {

using namespace platform;

namespace {

const std::wstring kPolicy(kPolicyKey);
const std::wstring kPlaces(kPlacesKey);
const std::wstring kNoBar(kNoPlacesBar);

std::optional<RegValue> Before(const StoredValue& stored) {
    if (stored.presence != Presence::Present) return std::nullopt;
    return stored.value;
}

Step KeyStep(Step::Kind kind, const std::wstring& keyPath) { return {kind, keyPath, {}, {}, {}, false, -1, kind == Step::Kind::DeleteEmptyKey}; }

// What a slot's text stores, as the window has always stored it: nothing
// for an empty text, a DWORD for a place entry, the trimmed text otherwise.
void StoreText(int slot, const std::wstring& shown, const StoredValue& now, Plan& plan) {
    const std::wstring text = TrimSpaces(shown);
    const std::wstring name = SavedSlotValueName(slot);
    if (text.empty()) {
        if (now.presence != Presence::Absent) plan.steps.push_back({Step::Kind::DeleteValue, kPlaces, name, Before(now), {}, false, slot});
    } else if (const std::optional<std::int32_t> folderId = PlaceEntryFolderId(text)) {
        plan.steps.push_back({Step::Kind::SetValue, kPlaces, name, Before(now), DwordValue(static_cast<std::uint32_t>(*folderId)), false, slot});
    } else {
        plan.steps.push_back({Step::Kind::SetValue, kPlaces, name, Before(now), StringValue(text), false, slot});
    }
}

// Puts back the value a slot's text stands for, type and bytes. A DWORD
// crosses the A function unchanged; anything else may not (a string's
// characters, its NULs), so it goes through the W one.
void StoreExactly(int slot, const StoredValue& wanted, const StoredValue& now, Plan& plan) {
    const std::wstring name = SavedSlotValueName(slot);
    if (wanted.presence == Presence::Absent) {
        if (now.presence != Presence::Absent) plan.steps.push_back({Step::Kind::DeleteValue, kPlaces, name, Before(now), {}, false, slot});
        return;
    }
    if (now.presence == Presence::Present && now.value == wanted.value) return;
    const bool exact = !DwordOf(wanted.value).has_value();
    plan.steps.push_back({Step::Kind::SetValue, kPlaces, name, Before(now), wanted.value, exact, slot});
}

}  // namespace

PlacesBase BaseOf(const PlacesReading& reading) {
    PlacesBase base;
    for (std::size_t i = 0; i < base.size(); ++i)
        if (const auto& slot = reading.slots[i]) base[i] = {slot->shown.text, slot->stored, slot->stored};
    return base;
}

RegistryNow ReadNow(Module1& module) {
    RegistryNow now;
    Registry& registry = module.Registry();
    static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, kPolicy, kNoBar, &now.noPlacesBar));
    {
        UniqueRegKey key(registry);
        const long rc = registry.OpenKeyExW(kHkeyCurrentUser, kPolicy, kKeyRead, key.put());
        now.policyKey = PresenceOf(rc);
        std::uint32_t subKeys = 0, values = 0;
        if (rc == kErrorSuccess && registry.QueryInfoKey(key.get(), &subKeys, &values) == kErrorSuccess) {
            now.policyValues = values;
            now.policySubKeys = subKeys;
        }
    }
    now.placesKey = module.ProbeKey(kHkeyCurrentUser, kPlaces);
    for (int slot = 0; slot < kSlotCount; ++slot)
        static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, kPlaces, ReadSlotValueName(slot), &now.slots[static_cast<std::size_t>(slot)]));
    return now;
}

void SavePlaces(const PlacesBase& base, const SlotTexts& shown, const RegistryNow& now, Plan& plan) {
    for (std::int16_t slot = 0; slot < kSlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        const SlotBase& last = base[i];
        const StoredValue& stored = now.slots[i];
        SlotFate& fate = plan.fates[i];
        fate = SlotFate::Shown;
        if (shown[i] != last.text) {
            StoreText(slot, shown[i], stored, plan);  // the user's edit
        } else if (last.seen && last.seen->presence != Presence::Unreadable && stored.presence != Presence::Unreadable &&
                   stored != *last.seen) {
            fate = SlotFate::Kept;  // another program's change since the window looked
        } else if (last.value) {
            if (last.value->presence == Presence::Unreadable) fate = SlotFate::Kept;
            else StoreExactly(slot, *last.value, stored, plan);
        } else if (stored.presence == Presence::Unreadable || ShowPlace(stored).text != shown[i]) {
            // Never read (the bar was hidden at start): the registry comes
            // to mean what the window shows.
            StoreText(slot, shown[i], stored, plan);
        }
    }
}

Plan PlanApply(const PlacesBase& base, std::int16_t placesMode, const SlotTexts& shown, const RegistryNow& now) {
    Plan plan;
    if (!IsPlacesMode(placesMode)) return plan;
    const bool switchCounts = CountsAsHidden(now.noPlacesBar) || now.noPlacesBar.presence == Presence::Unreadable;
    const Step deleteSwitch{Step::Kind::DeleteValue, kPolicy, kNoBar, Before(now.noPlacesBar), {}, false, -1};
    switch (placesMode) {
    case kModeSystemDefault: {
        plan.fates.fill(SlotFate::Removed);
        if (now.placesKey != Presence::Absent) plan.steps.push_back(KeyStep(Step::Kind::DeleteKey, kPlaces));
        if (switchCounts) plan.steps.push_back(deleteSwitch);
        // The policy key goes only when nothing else is left in it.
        if (now.policyKey == Presence::Present && now.policyValues && now.policySubKeys) {
            const bool switchGoes = now.noPlacesBar.presence == Presence::Present && switchCounts;
            const bool placesGo = now.placesKey != Presence::Absent;
            if (*now.policyValues <= (switchGoes ? 1u : 0u) && *now.policySubKeys <= (placesGo ? 1u : 0u))
                plan.steps.push_back(KeyStep(Step::Kind::DeleteEmptyKey, kPolicy));
        }
        break;
    }
    case kModeNoPlacesBar:
        // Already hidden as the dialogs read it: the places kept under the
        // switch stay. A switch they do not obey (a DWORD 0, a string) is
        // made one they do.
        if (DialogsHideBar(now.noPlacesBar)) break;
        plan.fates.fill(SlotFate::Removed);
        if (now.placesKey != Presence::Absent) plan.steps.push_back(KeyStep(Step::Kind::DeleteKey, kPlaces));
        if (now.policyKey != Presence::Present) plan.steps.push_back(KeyStep(Step::Kind::CreateKey, kPolicy));
        plan.steps.push_back({Step::Kind::SetValue, kPolicy, kNoBar, Before(now.noPlacesBar), DwordValue(1), false, -1});
        break;
    case kModeCustom:
        if (switchCounts) plan.steps.push_back(deleteSwitch);
        if (now.placesKey != Presence::Present) {
            if (now.policyKey != Presence::Present) plan.steps.push_back(KeyStep(Step::Kind::CreateKey, kPolicy));
            plan.steps.push_back(KeyStep(Step::Kind::CreateKey, kPlaces));
        }
        SavePlaces(base, shown, now, plan);
        break;
    }
    return plan;
}

void Remember(Module1& module, const Plan& plan, const StepsReport& report, const SlotTexts& shown, PlacesBase& base) {
    auto done = [&](auto&& which) {
        return std::all_of(report.steps.begin(), report.steps.end(), [&](const StepResult& result) { return !which(result.step) || result.landed; });
    };
    const bool placesRemoved = done([](const Step& step) { return step.kind == Step::Kind::DeleteKey; });
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotBase& last = base[static_cast<std::size_t>(slot)];
        switch (plan.fates[static_cast<std::size_t>(slot)]) {
        case SlotFate::Kept: break;
        case SlotFate::Removed:
            if (placesRemoved) last.seen = StoredValue{};
            break;
        case SlotFate::Shown:
            if (!done([slot](const Step& step) { return step.slot == slot; })) break;
            last.text = shown[static_cast<std::size_t>(slot)];
            static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, kPlaces, ReadSlotValueName(slot), &last.value.emplace()));
            last.seen = last.value;
            break;
        }
    }
}

ApplyOutcome ApplyMode(Module1& module, std::int16_t placesMode, const SlotTexts& shown, PlacesBase& base) {
    if (!IsPlacesMode(placesMode)) return ApplyOutcome::UnknownMode;
    const Plan plan = PlanApply(base, placesMode, shown, ReadNow(module));
    const StepsReport report = Execute(module, plan.steps);
    Remember(module, plan, report, shown, base);
    return report.Confirmed() ? ApplyOutcome::Confirmed : ApplyOutcome::Failed;
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
