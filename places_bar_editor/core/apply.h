#pragma once
// Writing the chosen mode, and in the custom mode the five slots, to the
// places-bar policy of the current user. What already means what the window
// shows is left exactly as it is stored: the apply changes only what differs.
#include "module1.h"
#include "places.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumbrake {

using SlotTexts = std::array<std::wstring, kSlotCount>;

enum class ApplyOutcome {
    Confirmed,    // every write the mode needs went through
    Failed,       // some create, write or delete failed; the rest still ran
    UnknownMode,  // nothing was written
};

// Runs every step of the mode even after a failure, and tells whether any failed.
[[nodiscard]] ApplyOutcome ApplyMode(Module1& module, std::int16_t placesMode, const SlotTexts& slotTexts);

// One slot at a time: a slot whose text is what its stored value shows as is
// left alone, value and type exactly as stored; otherwise deleted when
// empty, a DWORD for a place entry, the trimmed text as REG_SZ. False when
// any slot's write failed.
[[nodiscard]] bool SavePlaces(Module1& module, const SlotTexts& slotTexts);

struct ApplyMessage {
    std::wstring_view text;
    bool isError;  // shown with the error icon
};
ApplyMessage MessageFor(ApplyOutcome outcome, std::int16_t placesMode);

}  // namespace lumbrake
