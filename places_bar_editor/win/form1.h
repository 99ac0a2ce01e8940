#pragma once
// The main window: its message table and one handler per control event.
// What it is made of has a file each: the layout and its controls
// (layout.h), Frame2's kind of control (frame.h), the options as a group
// (option_group.h), the tool tips (tool_tips.h), the controls it draws
// itself (owner_draw.h), and the controls as the handlers read and fill
// them (form1_view.h). What it reads and writes is the engine's
// (places_bar/).
#include "form1_view.h"
#include "gif.h"
#include "layout.h"
#include "option_group.h"
#include "owner_draw.h"
#include "tool_tips.h"

#include <places_bar/apply.h>
#include <places_bar/check.h>
#include <places_bar/module1.h>
#include <places_bar/startup.h>

#include <platform/win/unique.h>

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace lumbrake::win {

// The controls are the window's own members, named as the layout names them.
class Form1 : private Controls {
public:
    explicit Form1(Module1& module) : m_module(module) {}
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window hidden with all its controls, runs the load handler,
    // then shows it. False when the window could not be created.
    [[nodiscard]] bool Show(HINSTANCE instance, int showCommand);
    // What the first painting of the window does not need, done once it is
    // on the screen: the tool tips (comctl32 loaded by then), the help
    // cursor over the picture, and word of what could not be read.
    void CompleteStartUp();
    HWND Window() const { return m_window; }
    void RelayToToolTips(const MSG& message) const { m_toolTips.Relay(message); }

    // The mode the window holds: 1 system default, 2 no places bar, 3 custom.
    std::int16_t PlacesMode = kModeSystemDefault;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Messages, in the order a user meets them.
    BOOL OnCreate(HWND, LPCREATESTRUCT);
    void OnActivate(HWND, UINT state, HWND, BOOL);
    HBRUSH OnCtlColor(HWND, HDC dc, HWND control, int type);
    void OnDrawItem(HWND, const DRAWITEMSTRUCT* item);
    BOOL OnSetCursor(HWND, HWND under, UINT hitTest, UINT mouseMessage);
    void OnCommand(HWND, int id, HWND, UINT code);
    void OnDestroy(HWND);

    // Control events, likewise.
    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Combo1_Change(int index);
    void Command2_Click(int index);
    void Command1_Click();
    void Picture1_Click();
    void Command3_Click();

    ControlsView View() { return ControlsView(*this, m_options, m_toolTips); }
    SlotTexts SlotTextsShown();
    void SayWhatCouldNotBeRead();
    void SayWhatTheDialogsLeaveOut();

    Module1& m_module;
    // What the window last read or wrote of each slot: what an apply merges
    // the slots shown and the registry as it is then against.
    PlacesBase m_base;
    // An option clicked since start-up or the last confirmed apply: the mode
    // is the user's choice, not only what the window read.
    bool m_modeChosen = false;
    std::vector<ReadFailure> m_unreadable;
    HINSTANCE m_instance = nullptr;
    HWND m_window = nullptr;
    int m_dpi = 96;

    Fonts m_fonts;
    Pictures m_pictures;
    HCURSOR m_helpCursor = nullptr;

    OptionGroup m_options;
    ToolTips m_toolTips;
    HWND m_lastFocus = nullptr;
};

}  // namespace lumbrake::win
