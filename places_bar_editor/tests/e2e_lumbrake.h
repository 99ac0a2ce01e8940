#pragma once
// Lumbrake.exe under Wine, as a user sees it: the registry prepared first,
// then the window found by captions, classes and places.
#include <e2e/driver.h>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>

namespace lumbrake_e2e {

inline const std::wstring kPolicyKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
inline const std::wstring kPlacesKey = kPolicyKey + L"\\PlacesBar";
inline const std::wstring kCaption = L"对话框的常用位置！";

// The Lumbrake.exe under test: LUMBRAKE_EXE from the environment, else the one built here.
inline std::string LumbrakeExe() { return e2e::ProgramUnderTest("LUMBRAKE_EXE", LUMBRAKE_EXE); }

// The controls, found the way a user would point at them.
struct Window {
    HWND form = nullptr;
    HWND option1 = nullptr, option2 = nullptr, option3 = nullptr;
    HWND frame2 = nullptr;
    HWND command1 = nullptr, command3 = nullptr;
    HWND picture1 = nullptr;
    std::array<HWND, 5> combo1{};    // slot 0 at the top
    std::array<HWND, 5> command2{};  // the browse buttons, top to bottom
    std::array<HWND, 5> labels{};    // "1：" at the top

    HWND Edit(int slot) const { return FindWindowExW(combo1[static_cast<std::size_t>(slot)], nullptr, L"Edit", nullptr); }
    std::wstring SlotText(int slot) const { return e2e::WindowText(combo1[static_cast<std::size_t>(slot)]); }
    int Selection(int slot) const { return e2e::ComboSelection(combo1[static_cast<std::size_t>(slot)]); }
    std::wstring SlotToolTip(int slot) const { return e2e::ToolTipText(combo1[static_cast<std::size_t>(slot)]).value_or(L"<no tool>"); }
    // The option that is checked: 1, 2 or 3, or 0 when none or more than one is.
    int CheckedOption() const;
};

// What the policy keys hold, to show that start-up wrote nothing.
struct RegistryState {
    bool policyKey = false;
    bool placesKey = false;
    std::map<std::wstring, e2e::RawValue> policyValues;
    std::map<std::wstring, e2e::RawValue> placesValues;
    bool operator==(const RegistryState& other) const;
};
RegistryState ReadPolicy();

// Each test starts from a user without any places-bar policy and leaves none behind.
class LumbrakeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts Lumbrake (or a copy of it) and waits for its window; fails the
    // test when it does not come.
    Window Start(const std::string& program = {});
    void Close();
    e2e::Program& Program() { return *m_program; }

private:
    std::unique_ptr<e2e::Program> m_program;
};

void SetDword(const std::wstring& key, const std::wstring& name, DWORD value);
void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ);

}  // namespace lumbrake_e2e
