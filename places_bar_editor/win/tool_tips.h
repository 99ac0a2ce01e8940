#pragma once
// The window's tool tips: one tool tip control and its tools, each a window.
// Tools and texts may be given before the control exists: Create makes it
// with all of them, so that the control, whose class comes from comctl32, can
// be made once the window has been shown.
#include <windows.h>

#include <string>
#include <vector>

namespace lumbrake::win {

class ToolTips {
public:
    ToolTips() = default;
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;

    void Add(HWND tool, std::wstring text);
    // An editable box: the mouse over it is over its edit field, a window of
    // its own, so the two are tools with one text.
    void AddBox(HWND box, std::wstring text);
    void SetText(HWND tool, const std::wstring& text);
    // Makes the control, owned by `owner` (which destroys it), with every
    // tool given so far. False when there is no tool tip class to make it of.
    [[nodiscard]] bool Create(HWND owner, HINSTANCE instance, int maxWidth);
    // Shows the control the mouse messages of the thread, as they are taken
    // from the queue.
    void Relay(const MSG& message) const;

private:
    struct Tool {
        HWND window;
        bool box;
        std::wstring text;
        HWND field = nullptr;  // a box's edit field, found when the control is made
    };
    void AddToControl(Tool& tool);
    void Send(UINT message, HWND window, const std::wstring& text) const;

    std::vector<Tool> m_tools;
    HWND m_control = nullptr;
};

}  // namespace lumbrake::win
