#pragma once
// Applying a mode as a plan. Three inputs, as a merge has them: what the
// window last read or wrote (the base), what it shows now, and what the
// registry holds now. From them one function computes the registry changes
// as values (places_bar/execute.h carries them out). A slot the
// user did not edit keeps what another program stored since; a slot the
// window removed comes back as the value it was read from, never as its
// display text.
#include <places_bar/execute.h>
#include <places_bar/module1.h>
#include <places_bar/places.h>
#include <places_bar/startup.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake {

// What the window last read or wrote of a slot.
struct SlotBase {
    std::wstring text;                 // what it showed then
    std::optional<StoredValue> value;  // the stored value that text stands for; nothing when never read
    std::optional<StoredValue> seen;   // what the registry held then; nothing when never read
};
using PlacesBase = std::array<SlotBase, kSlotCount>;
PlacesBase BaseOf(const PlacesReading& reading);

// What the registry holds now, as far as an apply looks at it; as made, an
// empty registry.
struct RegistryNow {
    StoredValue noPlacesBar;
    Presence policyKey = Presence::Absent;
    Presence placesKey = Presence::Absent;
    std::optional<std::uint32_t> policyValues, policySubKeys;  // when they could be counted
    std::array<StoredValue, kSlotCount> slots;
};
RegistryNow ReadNow(Module1& module);

// What becomes of a slot's base when the plan is carried out.
enum class SlotFate {
    Kept,     // the registry keeps what it holds: another program's value, or one that could not be read
    Shown,    // the registry holds what the window shows for it
    Removed,  // the places key goes, and the slot's value with it
};

struct Plan {
    std::vector<Step> steps;
    std::array<SlotFate, kSlotCount> fates{};
};
inline bool IsPlacesMode(std::int16_t mode) { return mode == kModeSystemDefault || mode == kModeNoPlacesBar || mode == kModeCustom; }
// Each step is planned only where the registry does not already say what it
// would write, judged as its consumers read it; a read that failed never
// counts as "already so".
[[nodiscard]] Plan PlanApply(const PlacesBase& base, std::int16_t placesMode, const SlotTexts& shown, const RegistryNow& now);
// The slots' part of the custom mode.
void SavePlaces(const PlacesBase& base, const SlotTexts& shown, const RegistryNow& now, Plan& plan);

// The base after the plan was carried out: slots written are read back.
void Remember(Module1& module, const Plan& plan, const StepsReport& report, const SlotTexts& shown, PlacesBase& base);

enum class ApplyOutcome {
    Confirmed,    // every step went through
    Failed,       // some step failed; the rest still ran
    UnknownMode,  // nothing was written
};
// Plans, carries out and remembers.
[[nodiscard]] ApplyOutcome ApplyMode(Module1& module, std::int16_t placesMode, const SlotTexts& shown, PlacesBase& base);

struct ApplyMessage {
    std::wstring_view text;
    bool isError;  // shown with the error icon
};
ApplyMessage MessageFor(ApplyOutcome outcome, std::int16_t placesMode);

}  // namespace lumbrake
