#include "registry_xml.h"

#include "text.h"

#include <platform/ansi.h>

#include <cstdio>

namespace lumbrake::cli {

using namespace platform;

namespace {

constexpr std::wstring_view kCollectionClsid = L"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}";
constexpr std::wstring_view kItemClsid = L"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}";

// XML 1.0 holds no other control character, not even as a reference.
bool XmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c < 0xFFFE) || c >= 0x10000;
}

std::optional<std::wstring> Attribute(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (!XmlCharacter(c)) return std::nullopt;
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        case L'\t': out += L"&#9;"; break;   // kept as they are rather than read as spaces
        case L'\n': out += L"&#10;"; break;
        case L'\r': out += L"&#13;"; break;
        default: out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

std::wstring UpperHex(const std::vector<std::uint8_t>& bytes, bool littleEndianNumber) {
    std::wstring digits;
    std::vector<std::uint8_t> ordered(bytes);
    if (littleEndianNumber) ordered.assign(bytes.rbegin(), bytes.rend());
    for (wchar_t c : HexBytes(ordered)) digits += (c >= L'a' ? static_cast<wchar_t>(c - 0x20) : c);
    return digits;
}

struct Typed {
    std::wstring type;
    std::wstring value;
    int imageBase;  // the icon of the item: strings 5, numbers and bytes 10; plus the action
};

// The type and value attributes that give back exactly these bytes.
std::optional<Typed> TypedValue(const RegValue& value) {
    switch (value.type) {
    case kRegSz:
    case kRegExpandSz: {
        if (value.data.size() < 2 || value.data.size() % 2) return std::nullopt;
        const std::wstring text = FromUtf16(value.data.data(), value.data.size());
        if (text.back() != L'\0' || text.find(L'\0') + 1 != text.size()) return std::nullopt;
        return Typed{value.type == kRegSz ? L"REG_SZ" : L"REG_EXPAND_SZ", text.substr(0, text.size() - 1), 5};
    }
    case kRegDword:
        if (value.data.size() != 4) return std::nullopt;
        return Typed{L"REG_DWORD", UpperHex(value.data, true), 10};
    case kRegQword:
        if (value.data.size() != 8) return std::nullopt;
        return Typed{L"REG_QWORD", UpperHex(value.data, true), 10};
    case kRegBinary:
        return Typed{L"REG_BINARY", UpperHex(value.data, false), 10};
    default:
        return std::nullopt;
    }
}

}  // namespace

std::variant<std::wstring, GppUnfit> RegistryXml(const std::vector<GppItem>& items, const std::vector<std::wstring>& uids,
                                                const std::wstring& changed) {
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RegistrySettings clsid=\"";
    xml += kCollectionClsid;
    xml += L"\">\r\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const GppItem& item = items[i];
        const GppUnfit unfit{item.keyPath, item.valueName};
        // Deletions name no data: the item bears an empty string, as the
        // management console writes it.
        Typed typed{L"REG_SZ", L"", 5};
        if (item.value) {
            std::optional<Typed> exact = TypedValue(*item.value);
            if (!exact) return unfit;
            typed = *exact;
        }
        const int action = item.value ? 2 : 3;  // Update, Delete
        const std::wstring label = item.wholeKey ? SplitKeyPath(item.keyPath).back() : item.valueName;
        const std::optional<std::wstring> key = Attribute(item.keyPath);
        const std::optional<std::wstring> name = Attribute(item.wholeKey ? L"" : item.valueName);
        const std::optional<std::wstring> shown = Attribute(label);
        const std::optional<std::wstring> value = Attribute(typed.value);
        if (!key || !name || !shown || !value) return unfit;
        wchar_t image[8];
        std::swprintf(image, 8, L"%d", item.wholeKey ? action : typed.imageBase + action);
        xml += Format(L"  <Registry clsid=\"{0}\" name=\"{1}\" status=\"{1}\" image=\"{2}\" changed=\"{3}\" uid=\"{4}\" bypassErrors=\"1\">\r\n",
                      {kItemClsid, *shown, image, changed, uids.at(i)});
        xml += Format(L"    <Properties action=\"{0}\" displayDecimal=\"0\" default=\"{1}\" hive=\"HKEY_CURRENT_USER\" key=\"{2}\" "
                      L"name=\"{3}\" type=\"{4}\" value=\"{5}\"/>\r\n",
                      {item.value ? L"U" : L"D", !item.wholeKey && item.valueName.empty() ? L"1" : L"0", *key, *name, typed.type, *value});
        xml += L"  </Registry>\r\n";
    }
    xml += L"</RegistrySettings>\r\n";
    return xml;
}

}  // namespace lumbrake::cli
