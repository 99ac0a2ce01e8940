#pragma once
// The places-bar policy as the command line sees it around the engine's
// reading and apply: the apply's steps carried out on a copy (what the key
// is to hold afterwards), and the policy as files for other machines.
#include "key_tree.h"
#include "reg_file.h"
#include "registry_xml.h"

#include <places_bar/apply.h>
#include <places_bar/module1.h>
#include <places_bar/places.h>
#include <places_bar/startup.h>

#include <array>
#include <optional>
#include <string>

namespace lumbrake::cli {

inline const std::wstring kPolicyPath(kPolicyKey);
inline const std::wstring kPolicyFullPath = L"HKEY_CURRENT_USER\\" + kPolicyPath;
inline const std::wstring kPlacesName = L"PlacesBar";

// Steps carried out on a copy of the policy key: what the key would hold,
// or nothing when a step would fail there.
std::optional<KeyState> Simulate(const KeyState& before, const platform::AnsiCodePage& codePage, const std::vector<Step>& steps);

// The slot value of a slot in a policy key, by the name start-up reads.
const NamedValue* StoredPlace(const KeyState& policy, int slot);

// The places bar alone, as the registry holds it: the mode, the switch of
// the hidden mode and the five slot values, each exactly as stored.
struct PlacesPolicy {
    std::int16_t mode = 0;
    std::optional<NamedValue> noPlacesBar;
    std::array<std::optional<NamedValue>, kSlotCount> places;
};
PlacesPolicy PolicyOf(std::int16_t mode, const KeyState& policy);

// What gives any user's registry that places bar and leaves the other
// policies as they are: the switch, the places key and the five slot values
// written or deleted. (An import cannot delete a key only when it is left
// empty: the default mode leaves the policy key, perhaps empty, where the
// apply would delete an empty one; the dialog reads both alike.)
std::vector<RegSection> PolicySections(const PlacesPolicy& plan);
std::vector<GppItem> PolicyItems(const PlacesPolicy& plan);

}  // namespace lumbrake::cli
