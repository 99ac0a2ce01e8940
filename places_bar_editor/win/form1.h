#pragma once
// The main window: its 22 controls, laid out in twips at the system DPI,
// and one handler per control event.
#include "gif.h"
#include "module1.h"
#include "places.h"

#include <platform/win/unique.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumbrake::win {

using platform::UniqueHfont;
using platform::UniqueHicon;

class Form1 {
public:
    explicit Form1(Module1& module) : m_module(module) {}
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window hidden with all its controls, runs the load handler,
    // then shows it. False when the window could not be created.
    [[nodiscard]] bool Show(HINSTANCE instance, int showCommand);
    HWND Window() const { return m_window; }

    // Shows the tool tips the mouse messages of the thread, as they are taken
    // from the queue.
    void RelayToToolTips(const MSG& message) const;

    // The mode the window holds: 1 system default, 2 no places bar, 3 custom.
    std::int16_t PlacesMode = kModeSystemDefault;

private:
    friend class ControlsView;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OptionProc(HWND option, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Messages.
    bool OnCreate();
    void OnCommand(int id, UINT code);
    LRESULT OnCtlColor(UINT message, HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor(HWND under);
    void OnActivate(bool active);
    void OnDestroy();

    // Control events.
    void Form_Load();
    void Command1_Click();
    void Command2_Click(int index);
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Command3_Click();
    void Picture1_Click();
    void Combo1_Change(int index);

    // Building the window.
    void CreateFonts();
    void CreateControls();
    void StackInTabOrder(const std::array<HWND, 22>& created);
    void CreateToolTips();
    void AddToolTip(HWND tool, const std::wstring& text);
    void SetToolTipText(HWND tool, const std::wstring& text);
    void LoadBanner();
    int Pixels(int twips) const { return twips * m_dpi / 1440; }

    // Selecting one option clears the other two, as a user's choice does.
    void CheckOption(HWND option);
    void MoveOption(HWND from, int step);
    void SetComboToolTip(int index, const std::wstring& text);
    void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON icon);
    void DrawBanner(const DRAWITEMSTRUCT& item);

    Module1& m_module;
    HINSTANCE m_instance = nullptr;
    HWND m_window = nullptr;
    int m_dpi = 96;

    // The controls, named as the window lays them out.
    HWND Command3 = nullptr;
    HWND Option3 = nullptr;
    HWND Command1 = nullptr;
    HWND Option1 = nullptr;
    HWND Option2 = nullptr;
    HWND Frame2 = nullptr;
    std::array<HWND, kSlotCount> Combo1{};
    std::array<HWND, kSlotCount> Command2{};
    HWND Label2 = nullptr;
    HWND Label1 = nullptr;
    HWND Label9 = nullptr;
    HWND Label10 = nullptr;
    HWND Label11 = nullptr;
    HWND Picture1 = nullptr;
    HWND m_toolTip = nullptr;

    // Each font and picture made once, for all the controls that show it.
    UniqueHfont m_windowFont;
    UniqueHfont m_optionFont;
    UniqueHfont m_comboFont;
    UniqueHfont m_labelFont;
    int m_comboLineHeight = 16;
    UniqueHicon m_bigIcon;
    UniqueHicon m_smallIcon;
    UniqueHicon m_applyIcon;
    UniqueHicon m_cancelIcon;
    UniqueHicon m_browseIcon;
    std::optional<GifImage> m_banner;
    HCURSOR m_helpCursor = nullptr;

    HWND m_lastFocus = nullptr;
    bool m_optionTakingFocus = false;
};

}  // namespace lumbrake::win
