#include "e2e_lumbrake.h"

#include <algorithm>

namespace lumbrake_e2e {

int Window::CheckedOption() const {
    const bool checked[] = {e2e::IsChecked(option1), e2e::IsChecked(option2), e2e::IsChecked(option3)};
    int found = 0;
    for (int i = 0; i < 3; ++i) {
        if (!checked[i]) continue;
        if (found) return 0;
        found = i + 1;
    }
    return found;
}

bool RegistryState::operator==(const RegistryState& other) const {
    auto same = [](const std::map<std::wstring, e2e::RawValue>& a, const std::map<std::wstring, e2e::RawValue>& b) {
        if (a.size() != b.size()) return false;
        for (const auto& [name, value] : a) {
            auto it = b.find(name);
            if (it == b.end() || it->second.type != value.type || it->second.data != value.data) return false;
        }
        return true;
    };
    return policyKey == other.policyKey && placesKey == other.placesKey && same(policyValues, other.policyValues) &&
           same(placesValues, other.placesValues);
}

RegistryState ReadPolicy() {
    RegistryState state;
    state.policyKey = e2e::KeyExists(HKEY_CURRENT_USER, kPolicyKey);
    state.placesKey = e2e::KeyExists(HKEY_CURRENT_USER, kPlacesKey);
    for (const auto& name : e2e::ValueNames(HKEY_CURRENT_USER, kPolicyKey))
        if (auto value = e2e::ReadRaw(HKEY_CURRENT_USER, kPolicyKey, name)) state.policyValues[name] = *value;
    for (const auto& name : e2e::ValueNames(HKEY_CURRENT_USER, kPlacesKey))
        if (auto value = e2e::ReadRaw(HKEY_CURRENT_USER, kPlacesKey, name)) state.placesValues[name] = *value;
    return state;
}

void LumbrakeTest::SetUp() { e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey); }

void LumbrakeTest::TearDown() {
    Close();
    e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);
}

Window LumbrakeTest::Start(const std::string& program) {
    m_program = std::make_unique<e2e::Program>(program.empty() ? LumbrakeExe() : program);
    Window w;
    w.form = m_program->WaitForWindow(kCaption);
    if (!w.form) {
        ADD_FAILURE() << "Lumbrake's window did not appear";
        return w;
    }
    w.option1 = e2e::FindDescendant(w.form, L"Button", L" 使 用 XP 的 默 认 配 置 √");
    w.option2 = e2e::FindDescendant(w.form, L"Button", L" 不 显 示 常 用 位 置 栏 ×");
    w.option3 = e2e::FindDescendant(w.form, L"Button", L" ★ 自 定 义 常 用 位 置 ↙");
    w.command1 = e2e::FindDescendant(w.form, L"Button", L"应      用");
    w.command3 = e2e::FindDescendant(w.form, L"Button", L"取     消");
    for (HWND child : e2e::Descendants(w.form))
        if (e2e::WindowText(child) == L"[ 常用位置 ]") w.frame2 = child;
    for (HWND child : e2e::FindDescendants(w.form, L"Static"))
        if (GetParent(child) == w.form) w.picture1 = child;
    if (!w.frame2) {
        ADD_FAILURE() << "no frame captioned [ 常用位置 ]";
        return w;
    }
    auto five = [](std::vector<HWND> found, std::array<HWND, 5>& into) {
        EXPECT_EQ(found.size(), 5u);
        for (std::size_t i = 0; i < into.size() && i < found.size(); ++i) into[i] = found[i];
    };
    five(e2e::ByPosition(e2e::FindDescendants(w.frame2, L"ComboBox")), w.combo1);
    five(e2e::ByPosition(e2e::FindDescendants(w.frame2, L"Button")), w.command2);
    five(e2e::ByPosition(e2e::FindDescendants(w.frame2, L"Static")), w.labels);
    // The tool tips come once the window has been shown: every tool is waited for.
    std::vector<HWND> tools(w.command2.begin(), w.command2.end());
    tools.push_back(w.picture1);
    for (int slot = 0; slot < 5; ++slot) {
        tools.push_back(w.combo1[static_cast<std::size_t>(slot)]);
        tools.push_back(w.Edit(slot));
    }
    const bool tips = e2e::WaitUntil([&] {
        return std::all_of(tools.begin(), tools.end(), [](HWND tool) { return e2e::ToolTipText(tool).has_value(); });
    });
    if (!tips) ADD_FAILURE() << "the window's tool tips did not come";
    return w;
}

void LumbrakeTest::Close() {
    if (!m_program) return;
    for (HWND window : e2e::TopLevelWindows(m_program->Id()))
        if (e2e::WindowText(window) == kCaption) PostMessageW(window, WM_CLOSE, 0, 0);
    m_program->WaitForExit();
    m_program.reset();
}

void SetDword(const std::wstring& key, const std::wstring& name, DWORD value) { e2e::SetDword(HKEY_CURRENT_USER, key, name, value); }

void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& text, DWORD type) {
    e2e::SetString(HKEY_CURRENT_USER, key, name, text, type);
}

}  // namespace lumbrake_e2e
