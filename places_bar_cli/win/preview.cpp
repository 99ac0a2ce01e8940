// The system's classic Open dialog: with a hook procedure, Windows Vista and
// later keep the old style, the one that shows the places bar.
#include "windows_host.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

namespace lumbrake::cli::win {

namespace {

constexpr UINT kReadPlaces = WM_APP + 1;

struct Preview {
    bool list;
    PreviewResult result;
};

void ReadPlacesBar(HWND dialog, PreviewResult& result) {
    HWND bar = GetDlgItem(dialog, ctl1);  // the places bar
    if (!bar || !IsWindowVisible(bar)) return;
    result.placesBar = true;
    const auto count = SendMessageW(bar, TB_BUTTONCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
        const auto length = SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand), 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.find(L'\0'));
        result.places.push_back(text);
    }
}

UINT_PTR CALLBACK Hook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
        return 0;
    }
    auto* preview = reinterpret_cast<Preview*>(GetWindowLongPtrW(hook, GWLP_USERDATA));
    if (!preview) return 0;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
        preview->result.opened = true;
        // Read once the dialog has finished setting itself up.
        if (preview->list) PostMessageW(hook, kReadPlaces, 0, 0);
    } else if (message == kReadPlaces) {
        ReadPlacesBar(GetParent(hook), preview->result);
        PostMessageW(GetParent(hook), WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

}  // namespace

PreviewResult ShowOpenDialog(bool list) {
    Preview preview{list, {}};
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    open.lpfnHook = Hook;
    open.lCustData = reinterpret_cast<LPARAM>(&preview);
    if (!GetOpenFileNameW(&open) && !preview.result.opened) preview.result.error = static_cast<long>(CommDlgExtendedError());
    return preview.result;
}

}  // namespace lumbrake::cli::win
