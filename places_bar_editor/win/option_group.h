#pragma once
// Option1, Option2 and Option3 as one group of options, the way the dialog
// manager treats a group in a dialog: Tab passes over the unchecked ones,
// the arrow keys move the choice among the three, and checking one clears
// the others.
#include <windows.h>

#include <array>

namespace lumbrake::win {

class OptionGroup {
public:
    OptionGroup() = default;
    OptionGroup(const OptionGroup&) = delete;
    OptionGroup& operator=(const OptionGroup&) = delete;

    // Subclasses the three buttons, top to bottom; the group must outlive them.
    void Attach(const std::array<HWND, 3>& options);
    // Checks `option` and clears the other two, as a user's choice does.
    void Check(HWND option) const;
    // Windows clicks an unchecked option that gets the focus from the
    // keyboard. That click is to be dropped, so that only the arrow keys,
    // Space and the mouse choose: it comes while this is true.
    bool TakingFocus() const { return m_takingFocus; }

private:
    static LRESULT CALLBACK OptionProc(HWND option, UINT message, WPARAM wParam, LPARAM lParam);
    // To the option `step` places on, wrapping round: the focus, then the
    // click its parent hears as from a user.
    void Move(HWND from, int step);

    std::array<HWND, 3> m_options{};
    WNDPROC m_buttonProc = nullptr;  // what the subclass passes messages on to
    bool m_takingFocus = false;
};

}  // namespace lumbrake::win
