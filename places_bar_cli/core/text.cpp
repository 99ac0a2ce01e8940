#include "text.h"

#include <cstdio>

namespace lumbrake::cli {

std::wstring Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> arguments) {
    std::wstring out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'{' && i + 2 < pattern.size() && pattern[i + 2] == L'}' && pattern[i + 1] >= L'0' &&
            static_cast<std::size_t>(pattern[i + 1] - L'0') < arguments.size()) {
            out += *(arguments.begin() + (pattern[i + 1] - L'0'));
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::wstring HexBytes(const std::vector<std::uint8_t>& data) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring out;
    out.reserve(data.size() * 2);
    for (std::uint8_t byte : data) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    }
    return out;
}

std::wstring Hex32(std::uint32_t value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace lumbrake::cli
