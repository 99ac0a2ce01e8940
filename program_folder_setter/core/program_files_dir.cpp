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

bool IsStorablePath(const char* text) {
    for (; *text != '\0'; ++text) {
        if (*text != ' ' && *text != '\t') return true;
    }
    return false;
}

}  // namespace tarnvale
