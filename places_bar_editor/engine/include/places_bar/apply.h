#pragma once
// Applying a mode as a plan. Three inputs, as a merge has them: what the
// window last read or wrote (the base), what it shows now, and what the
// registry holds now. From them one function computes the registry changes
// as values (places_bar/execute.h carries them out). A slot the user did
// not edit keeps what another program stored since; a slot the window
// removed comes back as the value it held then, never as its display text.
// A read that failed is never the basis of a change the user did not ask for.
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

// What the window last read or wrote: the switch and the places key, on
// which the mode it shows rests, and each slot.
struct PlacesBase {
    StoredValue noPlacesBar;
    std::optional<Presence> placesKey;  // nothing where start-up did not look, the bar being hidden
    std::array<SlotBase, kSlotCount> slots;
};
PlacesBase BaseOf(const PlacesReading& reading);

// Whether the user chose the mode (clicked an option since the window last
// read or applied), or applies the one the window shows. A mode shown over
// a read that failed is not the user's choice.
enum class ModeChoice { AsShown, Chosen };

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
    // What the plan took the switch and the places key for; nothing for one
    // it leaves alone because it could not be read.
    std::optional<StoredValue> noPlacesBar;
    std::optional<Presence> placesKey;
    // A step the mode needs, left out because what it would change could not
    // be read: the apply cannot confirm the mode.
    bool withheld = false;
};
inline bool IsPlacesMode(std::int16_t mode) { return mode == kModeSystemDefault || mode == kModeNoPlacesBar || mode == kModeCustom; }
// Each step is planned only where the registry does not already say what it
// would write, judged as its consumers read it; a read that failed never
// counts as "already so". In the mode the window shows, a key or value that
// could not be read, at start-up or now, is left as it is: judged as the
// window last read it, and where the mode needs it changed, withheld.
[[nodiscard]] Plan PlanApply(const PlacesBase& base, std::int16_t placesMode, ModeChoice choice, const SlotTexts& shown, const RegistryNow& now);
// The slots' part of the custom mode.
void SavePlaces(const PlacesBase& base, const SlotTexts& shown, const RegistryNow& now, Plan& plan);

// The base after the plan was carried out: a slot written is read back (or,
// when that read fails, taken to hold what was written), a slot removed
// keeps the value it held then.
void Remember(Module1& module, const Plan& plan, const StepsReport& report, const SlotTexts& shown, const RegistryNow& now, PlacesBase& base);

enum class ApplyOutcome {
    Confirmed,    // every step went through
    Failed,       // some step failed, the rest still ran; or one was withheld
    UnknownMode,  // nothing was written
};
// Reads the registry, plans, carries out and remembers.
[[nodiscard]] ApplyOutcome ApplyMode(Module1& module, std::int16_t placesMode, ModeChoice choice, const SlotTexts& shown, PlacesBase& base);

struct ApplyMessage {
    std::wstring_view text;
    bool isError;  // shown with the error icon
};
ApplyMessage MessageFor(ApplyOutcome outcome, std::int16_t placesMode);

}  // namespace lumbrake
