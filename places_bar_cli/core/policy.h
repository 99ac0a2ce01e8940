#pragma once
// The places-bar policy as the window sees it and writes it, reused by the
// command line: the start-up reading, the apply (also on a copy, to know
// beforehand what it will change), and the policy as files for other machines.
#include "key_tree.h"
#include "reg_file.h"
#include "registry_xml.h"

#include <apply.h>
#include <module1.h>
#include <places.h>

#include <array>
#include <optional>
#include <string>

namespace lumbrake::cli {

inline const std::wstring kPolicyPath(kPolicyKey);
inline const std::wstring kPolicyFullPath = L"HKEY_CURRENT_USER\\" + kPolicyPath;
inline const std::wstring kPlacesName = L"PlacesBar";

// What the window shows at start-up: its mode and its five slot texts.
struct StartupView {
    std::int16_t mode = 0;
    SlotTexts slots;
};
StartupView ReadStartupView(Module1& module);

// The apply run on a copy of the policy key: what the key would hold.
struct Simulation {
    ApplyOutcome outcome;
    KeyState after;
};
Simulation SimulateApply(const KeyState& before, const platform::AnsiCodePage& codePage, std::int16_t mode, const SlotTexts& slots);

// The slot value of a slot in a policy key, by the name start-up reads.
const NamedValue* StoredPlace(const KeyState& policy, int slot);

// The places bar alone, as the registry holds it: the mode, the switch of
// the hidden mode and the five slot values, each exactly as stored.
struct PolicyPlan {
    std::int16_t mode = 0;
    std::optional<NamedValue> noPlacesBar;
    std::array<std::optional<NamedValue>, kSlotCount> places;
};
PolicyPlan PlanOf(std::int16_t mode, const KeyState& policy);

// What gives any user's registry that places bar and leaves the other
// policies as they are: the switch, the places key and the five slot values
// written or deleted. (An import cannot delete a key only when it is left
// empty: the default mode leaves the policy key, perhaps empty, where the
// apply would delete an empty one; the dialog reads both alike.)
std::vector<RegSection> PlanSections(const PolicyPlan& plan);
std::vector<GppItem> PlanItems(const PolicyPlan& plan);

}  // namespace lumbrake::cli
