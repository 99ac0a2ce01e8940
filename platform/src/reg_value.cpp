#include <platform/ansi.h>
#include <platform/reg_value.h>

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

std::wstring Hex(const std::vector<std::uint8_t>& data) {
    // A long value is shown by its start: the form is for people.
    constexpr std::size_t kShown = 32;
    std::wstring text;
    for (std::size_t i = 0; i < data.size() && i < kShown; ++i) {
        wchar_t byte[4];
        std::swprintf(byte, 4, L"%02X", data[i]);
        if (i) text += L' ';
        text += byte;
    }
    if (data.size() > kShown) text += L" …";
    return text;
}

}  // namespace

std::optional<std::uint32_t> DwordOf(const RegValue& value) {
    if (value.type != kRegDword || value.data.size() != 4) return std::nullopt;
    const auto& d = value.data;
    return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

RegValue DwordValue(std::uint32_t number) {
    return {kRegDword, {std::uint8_t(number), std::uint8_t(number >> 8), std::uint8_t(number >> 16), std::uint8_t(number >> 24)}};
}

std::wstring StringOf(const RegValue& value) {
    std::wstring text = FromUtf16(value.data.data(), value.data.size());
    return text.substr(0, text.find(L'\0'));
}

RegValue StringValue(std::wstring_view text, std::uint32_t type) {
    const std::string units = ToUtf16(std::wstring(text) + L'\0');
    return {type, {units.begin(), units.end()}};
}

bool HasControlCharacter(std::wstring_view text) {
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<std::uint32_t>(c) < 0x20; });
}

std::wstring RegTypeName(std::uint32_t type) {
    static constexpr const wchar_t* kNames[] = {
        L"REG_NONE",  L"REG_SZ",        L"REG_EXPAND_SZ",      L"REG_BINARY",
        L"REG_DWORD", L"REG_DWORD_BIG_ENDIAN", L"REG_LINK",    L"REG_MULTI_SZ",
        L"REG_RESOURCE_LIST", L"REG_FULL_RESOURCE_DESCRIPTOR", L"REG_RESOURCE_REQUIREMENTS_LIST", L"REG_QWORD",
    };
    if (type < std::size(kNames)) return kNames[type];
    wchar_t name[24];
    std::swprintf(name, 24, L"REG_0x%X", type);
    return name;
}

std::wstring DataText(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (IsTextType(type)) return StringOf({type, data});
    if (type == kRegMultiSz) {
        std::wstring all = FromUtf16(data.data(), data.size()), text;
        for (std::size_t start = 0; start < all.size() && all[start] != L'\0';) {
            const std::size_t end = std::min(all.find(L'\0', start), all.size());
            if (!text.empty()) text += L' ';
            text += L'"' + all.substr(start, end - start) + L'"';
            start = end + 1;
        }
        return text;
    }
    if (const std::optional<std::uint32_t> number = DwordOf({type, data})) return std::to_wstring(*number);
    if (type == kRegQword && data.size() == 8) {
        std::uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | data[static_cast<std::size_t>(i)];
        return std::to_wstring(value);
    }
    return Hex(data);
}

std::wstring DisplayForm(const RegValue& value) {
    if (value.data.empty()) return {};
    std::wstring data = DataText(value.type, value.data);
    if (HasControlCharacter(data)) data = Hex(value.data);
    return L"<" + RegTypeName(value.type) + L": " + data + L">";
}

}  // namespace platform
