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

const StepResult* ResultFor(const StepsReport& report, auto&& which) {
    const auto found = std::find_if(report.steps.begin(), report.steps.end(), [&](const StepResult& result) { return which(result.step); });
    return found == report.steps.end() ? nullptr : &*found;
}

}  // namespace

PlacesBase BaseOf(const PlacesReading& reading) {
    PlacesBase base{reading.noPlacesBar, reading.placesKey, {}};
    for (std::size_t i = 0; i < base.slots.size(); ++i)
        if (const auto& slot = reading.slots[i]) base.slots[i] = {slot->shown.text, slot->stored, slot->stored};
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
        const SlotBase& last = base.slots[i];
        const StoredValue& stored = now.slots[i];
        SlotFate& fate = plan.fates[i];
        fate = SlotFate::Shown;
        if (shown[i] != last.text) {
            StoreText(slot, shown[i], stored, plan);  // the user's edit
        } else if (last.seen && last.seen->presence != Presence::Unreadable && stored != *last.seen) {
            fate = SlotFate::Kept;  // another program's change since the window looked, or what cannot be read now
        } else if (last.value) {
            if (last.value->presence == Presence::Unreadable) fate = SlotFate::Kept;
            else StoreExactly(slot, *last.value, stored, plan);
        } else if (ShowPlace(stored).text != shown[i]) {
            // Never read (the bar was hidden at start): the registry comes
            // to mean what the window shows.
            StoreText(slot, shown[i], stored, plan);
        }
    }
}

Plan PlanApply(const PlacesBase& base, std::int16_t placesMode, ModeChoice choice, const SlotTexts& shown, const RegistryNow& now) {
    Plan plan;
    if (!IsPlacesMode(placesMode)) return plan;
    const bool kept = choice == ModeChoice::AsShown;
    auto unreadable = [](Presence presence) { return presence == Presence::Unreadable; };
    // In the mode shown, what could not be read now is judged as the window
    // last read it; and what could not be read then or now is not changed.
    const bool barUnread = unreadable(now.noPlacesBar.presence) || unreadable(base.noPlacesBar.presence);
    const bool keyUnread = unreadable(now.placesKey) || base.placesKey == Presence::Unreadable ||
                           std::any_of(now.slots.begin(), now.slots.end(), [&](const StoredValue& slot) { return unreadable(slot.presence); });
    const StoredValue& bar = kept && unreadable(now.noPlacesBar.presence) ? base.noPlacesBar : now.noPlacesBar;
    const Presence placesKey = kept && unreadable(now.placesKey) ? base.placesKey.value_or(Presence::Unreadable) : now.placesKey;
    plan.noPlacesBar = bar;
    plan.placesKey = placesKey;
    // Whether the mode's steps may change them: in a mode the user chose, always.
    const bool barChangeable = !kept || !barUnread, keyChangeable = !kept || !keyUnread;
    const bool barCounts = CountsAsHidden(bar) || unreadable(bar.presence);
    const Step deleteSwitch{Step::Kind::DeleteValue, kPolicy, kNoBar, Before(now.noPlacesBar), {}, false, -1};
    auto leaveSwitch = [&] {
        plan.withheld = true;
        plan.noPlacesBar.reset();
    };

    switch (placesMode) {
    case kModeSystemDefault: {
        const bool placesGo = placesKey != Presence::Absent && keyChangeable;
        const bool switchGoes = barCounts && barChangeable;
        if (placesKey != Presence::Absent && !keyChangeable) {
            plan.withheld = true;
            plan.placesKey.reset();
        } else {
            plan.fates.fill(SlotFate::Removed);
        }
        if (barCounts && !barChangeable) leaveSwitch();
        if (placesGo) plan.steps.push_back(KeyStep(Step::Kind::DeleteKey, kPlaces));
        if (switchGoes) plan.steps.push_back(deleteSwitch);
        // The policy key goes only when nothing else is left in it.
        if (now.policyKey == Presence::Present && now.policyValues && now.policySubKeys && *now.policyValues <= (switchGoes ? 1u : 0u) &&
            *now.policySubKeys <= (placesGo ? 1u : 0u))
            plan.steps.push_back(KeyStep(Step::Kind::DeleteEmptyKey, kPolicy));
        break;
    }
    case kModeNoPlacesBar:
        // Already hidden as the dialogs read it: the places kept under the
        // switch stay. A switch they do not obey (a DWORD 0, a string) is
        // made one they do, before the places go: no failure leaves them
        // lost and the bar shown.
        if (DialogsHideBar(bar)) break;
        if (!barChangeable) {
            leaveSwitch();
            break;
        }
        if (now.policyKey != Presence::Present) plan.steps.push_back(KeyStep(Step::Kind::CreateKey, kPolicy));
        plan.steps.push_back({Step::Kind::SetValue, kPolicy, kNoBar, Before(now.noPlacesBar), DwordValue(1), false, -1});
        if (placesKey == Presence::Absent || keyChangeable) plan.fates.fill(SlotFate::Removed);
        if (placesKey != Presence::Absent && keyChangeable) {
            Step deletePlaces = KeyStep(Step::Kind::DeleteKey, kPlaces);
            deletePlaces.tidyUp = true;
            plan.steps.push_back(deletePlaces);
        }
        break;
    case kModeCustom:
        if (barCounts && !barChangeable) leaveSwitch();
        else if (barCounts) plan.steps.push_back(deleteSwitch);
        if (now.placesKey != Presence::Present) {
            if (now.policyKey != Presence::Present) plan.steps.push_back(KeyStep(Step::Kind::CreateKey, kPolicy));
            plan.steps.push_back(KeyStep(Step::Kind::CreateKey, kPlaces));
        }
        SavePlaces(base, shown, now, plan);
        break;
    }
    return plan;
}

void Remember(Module1& module, const Plan& plan, const StepsReport& report, const SlotTexts& shown, const RegistryNow& now, PlacesBase& base) {
    auto landed = [&](auto&& which) {
        const StepResult* result = ResultFor(report, which);
        return result && result->landed ? result : nullptr;
    };
    auto on = [](Step::Kind kind, const std::wstring& keyPath) {
        return [=](const Step& step) { return step.kind == kind && step.keyPath == keyPath && step.slot < 0; };
    };
    if (plan.noPlacesBar) base.noPlacesBar = *plan.noPlacesBar;
    if (const StepResult* set = landed(on(Step::Kind::SetValue, kPolicy))) base.noPlacesBar = {Presence::Present, set->step.after, 0};
    if (landed(on(Step::Kind::DeleteValue, kPolicy))) base.noPlacesBar = {};
    if (plan.placesKey) base.placesKey = *plan.placesKey;
    if (landed(on(Step::Kind::CreateKey, kPlaces))) base.placesKey = Presence::Present;
    // The places went with the key the apply deleted, or were gone before it.
    const StepResult* placesDeleted = ResultFor(report, on(Step::Kind::DeleteKey, kPlaces));
    const bool removes = plan.fates.front() == SlotFate::Removed && (!placesDeleted || placesDeleted->landed);
    if (removes) base.placesKey = Presence::Absent;

    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        SlotBase& last = base.slots[i];
        const StoredValue& held = now.slots[i];
        switch (plan.fates[i]) {
        case SlotFate::Kept: break;
        case SlotFate::Removed:
            if (!removes) break;
            last.seen = StoredValue{};
            // What comes back is what the registry held as the apply removed
            // it, unless that could not be read; a slot never shown stays empty.
            if (placesDeleted && last.value && held.presence != Presence::Unreadable) last.value = held;
            break;
        case SlotFate::Shown: {
            const StepResult* step = ResultFor(report, [slot](const Step& each) { return each.slot == slot; });
            if (step && !step->landed) break;
            last.text = shown[i];
            StoredValue readBack;
            static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, kPlaces, ReadSlotValueName(slot), &readBack));
            // The window knows what it wrote, or found there, even where it cannot read it back.
            if (readBack.presence == Presence::Unreadable) {
                if (!step) readBack = held;
                else if (step->step.kind == Step::Kind::SetValue) readBack = {Presence::Present, step->step.after, 0};
                else readBack = {};
            }
            last.value = last.seen = readBack;
            break;
        }
        }
    }
}

ApplyOutcome ApplyMode(Module1& module, std::int16_t placesMode, ModeChoice choice, const SlotTexts& shown, PlacesBase& base) {
    if (!IsPlacesMode(placesMode)) return ApplyOutcome::UnknownMode;
    const RegistryNow now = ReadNow(module);
    const Plan plan = PlanApply(base, placesMode, choice, shown, now);
    const StepsReport report = Execute(module, plan.steps);
    Remember(module, plan, report, shown, now, base);
    return report.Confirmed() && !plan.withheld ? ApplyOutcome::Confirmed : ApplyOutcome::Failed;
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
