#pragma once
// What a typed text holds when it holds nothing to see: every kind of space
// (the ideographic and the no-break one among them), the tab and the line
// breaks, and the invisible joiners.

namespace platform {

constexpr bool IsBlank(wchar_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200D) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

}  // namespace platform
