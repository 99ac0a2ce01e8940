#include "policy.h"

#include <startup.h>

#include <platform/memory_registry.h>

namespace lumbrake::cli {

using namespace platform;

namespace {

class RecordingView final : public Form1View {
public:
    explicit RecordingView(StartupView& view) : m_view(view) {}
    void SelectOption(std::int16_t) override {}
    void SetFrameEnabled(bool) override {}
    void SelectListItem(int slot, int index) override { Slot(slot) = kPlaceEntries.at(static_cast<std::size_t>(index)); }
    void SetSlotText(int slot, const std::wstring& text) override { Slot(slot) = text; }
    void SetSlotToolTip(int, const std::wstring&) override {}

private:
    std::wstring& Slot(int slot) { return m_view.slots.at(static_cast<std::size_t>(slot)); }
    StartupView& m_view;
};

const std::wstring kPlacesPath = kPolicyPath + L"\\" + kPlacesName;

}  // namespace

StartupView ReadStartupView(Module1& module) {
    StartupView view;
    RecordingView recorder(view);
    view.mode = LoadPlacesConfiguration(module, recorder);
    return view;
}

Simulation SimulateApply(const KeyState& before, const AnsiCodePage& codePage, std::int16_t mode, const SlotTexts& slots) {
    MemoryRegistry copy(codePage);
    static_cast<void>(ApplyChanges(copy, kHkeyCurrentUser, Diff(kPolicyPath, std::nullopt, before)));
    Module1 module(copy, codePage);
    Simulation simulation{ApplyMode(module, mode, slots), {}};
    simulation.after = ReadKeyTree(copy, kHkeyCurrentUser, kPolicyPath).state;
    return simulation;
}

const NamedValue* StoredPlace(const KeyState& policy, int slot) {
    const KeyNode* places = policy ? policy->FindKey(kPlacesName) : nullptr;
    return places ? places->FindValue(ReadSlotValueName(slot)) : nullptr;
}

PolicyPlan PlanOf(std::int16_t mode, const KeyState& policy) {
    PolicyPlan plan;
    plan.mode = mode;
    if (const NamedValue* value = policy ? policy->FindValue(kNoPlacesBar) : nullptr) plan.noPlacesBar = *value;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (const NamedValue* value = StoredPlace(policy, slot)) plan.places[static_cast<std::size_t>(slot)] = *value;
    return plan;
}

std::vector<RegSection> PlanSections(const PolicyPlan& plan) {
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

std::vector<GppItem> PlanItems(const PolicyPlan& plan) {
    std::vector<GppItem> items;
    for (const RegSection& section : PlanSections(plan)) {
        const std::wstring keyPath = section.keyPath.substr(section.keyPath.find(L'\\') + 1);
        if (section.deleteKey) items.push_back({keyPath, true, {}, std::nullopt});
        for (const auto& [name, value] : section.values) items.push_back({keyPath, false, name, value});
    }
    return items;
}

}  // namespace lumbrake::cli
