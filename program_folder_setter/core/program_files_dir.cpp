#include "program_files_dir.h"

#include "resource.h"

namespace tarnvale {

const char* FixedPath(int buttonId) {
    switch (buttonId) {
    case IDC_PATH_C: return "C:\\Program Files";
    case IDC_PATH_D: return "D:\\Program Files";
    case IDC_PATH_E: return "E:\\Program Files";
    case IDC_PATH_F: return "F:\\Program Files";
    default: return nullptr;
    }
}

bool IsBlankText(std::wstring_view text) {
    for (wchar_t c : text) {
        const bool blank = (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 || c == 0x180E ||
                           (c >= 0x2000 && c <= 0x200D) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
                           c == 0x2060 || c == 0x3000 || c == 0xFEFF;
        if (!blank) return false;
    }
    return true;
}

}  // namespace tarnvale
