#include "program_files_dir.h"

#include "resource.h"

#include <platform/blank.h>

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
        if (!platform::IsBlank(c)) return false;
    }
    return true;
}

bool SameText(std::uint32_t type1, const std::uint8_t* data1, std::uint32_t size1, std::uint32_t type2, const std::uint8_t* data2,
              std::uint32_t size2) {
    const auto isString = [](std::uint32_t type) { return type == platform::kRegSz || type == platform::kRegExpandSz; };
    if (!isString(type1) || !isString(type2)) return false;
    // UTF-16 units, read bytewise: the data need not be aligned.
    const auto unit = [](const std::uint8_t* data, std::uint32_t size, std::uint32_t i) {
        return 2 * i + 1 < size ? static_cast<unsigned>(data[2 * i] | data[2 * i + 1] << 8) : 0u;
    };
    for (std::uint32_t i = 0;; ++i) {
        const unsigned a = unit(data1, size1, i), b = unit(data2, size2, i);
        if (a != b) return false;
        if (a == 0) return true;
    }
}

}  // namespace tarnvale
