#pragma once
// Registry changes as values, and the one executor that carries them out
// and reports each: for the window's apply, lumbrake-cli's set and restore,
// and the copy of the registry a dry run works on.
#include <places_bar/module1.h>

#include <optional>
#include <string>
#include <vector>

namespace lumbrake {

// One registry change, under HKEY_CURRENT_USER.
struct Step {
    enum class Kind { CreateKey, SetValue, DeleteValue, DeleteKey, DeleteEmptyKey };
    Kind kind = Kind::CreateKey;
    std::wstring keyPath;
    std::wstring valueName;
    std::optional<platform::RegValue> before;  // what a value step replaces or deletes, when it was read
    platform::RegValue after;                  // what SetValue stores; strings as UTF-16 units
    // Through the W functions, byte for byte (a restore), a key deleted with
    // everything under it; otherwise as Module1 writes through the A
    // functions, and a key deleted only when it has no sub keys.
    bool exact = false;
    int slot = -1;  // the slot whose value it writes or deletes
    // Carried out only once the step before it has landed, which already
    // gives the dialogs what they read: its own failure fails nothing.
    bool tidyUp = false;
    bool operator==(const Step&) const = default;
};

// What became of one step.
struct StepResult {
    Step step;
    long code = platform::kErrorSuccess;  // the Win32 code of its last registry call
    bool landed = false;                  // the registry holds what the step was to make so;
                                          // a tidy-up after a step that did not land is not run
};

struct StepsReport {
    std::vector<StepResult> steps;  // one for each step, in order
    // Every step landed, tidy-ups apart.
    bool Confirmed() const;
};

// Carries out the steps in order, going on after a failure. A delete of
// what is already gone has landed; so has a key left in place that an empty
// key's deletion found not empty.
[[nodiscard]] StepsReport Execute(Module1& module, const std::vector<Step>& steps);

}  // namespace lumbrake
