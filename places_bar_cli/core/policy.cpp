#include "policy.h"

#include <platform/memory_registry.h>

namespace lumbrake::cli {

using namespace platform;

std::optional<KeyState> Simulate(const KeyState& before, const AnsiCodePage& codePage, const std::vector<Step>& steps) {
    MemoryRegistry copy(codePage);
    Module1 module(copy, codePage);
    if (!Execute(module, Diff(kPolicyPath, std::nullopt, before)).Confirmed() || !Execute(module, steps).Confirmed()) return std::nullopt;
    return ReadKeyTree(copy, kHkeyCurrentUser, kPolicyPath).state;
}

const NamedValue* StoredPlace(const KeyState& policy, int slot) {
    const KeyNode* places = policy ? policy->FindKey(kPlacesName) : nullptr;
    return places ? places->FindValue(ReadSlotValueName(slot)) : nullptr;
}

PlacesPolicy PolicyOf(std::int16_t mode, const KeyState& policy) {
    PlacesPolicy plan;
    plan.mode = mode;
    if (const NamedValue* value = policy ? policy->FindValue(kNoPlacesBar) : nullptr) plan.noPlacesBar = *value;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (const NamedValue* value = StoredPlace(policy, slot)) plan.places[static_cast<std::size_t>(slot)] = *value;
    return plan;
}

std::vector<RegSection> PolicySections(const PlacesPolicy& plan) {
    const std::wstring placesPath = kPolicyFullPath + L"\\" + kPlacesName;
    std::vector<RegSection> sections;
    if (plan.mode != kModeCustom) {
        sections.push_back({placesPath, true, {}});
        RegSection policy{kPolicyFullPath, false, {}};
        if (plan.mode == kModeNoPlacesBar && plan.noPlacesBar) policy.values.emplace_back(plan.noPlacesBar->name, plan.noPlacesBar->value);
        else policy.values.emplace_back(std::wstring(kNoPlacesBar), std::nullopt);
        sections.push_back(std::move(policy));
        return sections;
    }
    sections.push_back({kPolicyFullPath, false, {{std::wstring(kNoPlacesBar), std::nullopt}}});
    RegSection places{placesPath, false, {}};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto& stored = plan.places[static_cast<std::size_t>(slot)];
        // A slot that holds nothing is written under the name the apply would give it.
        if (stored) places.values.emplace_back(stored->name, stored->value);
        else places.values.emplace_back(SavedSlotValueName(slot), std::nullopt);
    }
    sections.push_back(std::move(places));
    return sections;
}

std::vector<GppItem> PolicyItems(const PlacesPolicy& plan) {
    std::vector<GppItem> items;
    for (const RegSection& section : PolicySections(plan)) {
        const std::wstring keyPath = section.keyPath.substr(section.keyPath.find(L'\\') + 1);
        if (section.deleteKey) items.push_back({keyPath, true, {}, std::nullopt});
        for (const auto& [name, value] : section.values) items.push_back({keyPath, false, name, value});
    }
    return items;
}

}  // namespace lumbrake::cli
