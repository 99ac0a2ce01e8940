#include "module1.h"

#include <charconv>
#include <cstdio>

namespace lumbrake {

using namespace platform;

namespace {

std::wstring Hex(const std::vector<std::uint8_t>& data) {
    // A long value is shown by its start: the box and its tool tip are for people.
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

bool HasControlCharacter(std::wstring_view text) {
    for (wchar_t c : text)
        if (c < 0x20) return true;
    return false;
}

}  // namespace

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
    if (type == kRegSz || type == kRegExpandSz) {
        std::wstring text = FromUtf16(data.data(), data.size());
        return text.substr(0, text.find(L'\0'));
    }
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
    if (type == kRegDword && data.size() == 4) {
        const std::uint32_t value = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        return std::to_wstring(value);
    }
    if (type == kRegQword && data.size() == 8) {
        std::uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | data[static_cast<std::size_t>(i)];
        return std::to_wstring(value);
    }
    return Hex(data);
}

std::wstring TextForm(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
    if (const auto* text = std::get_if<std::wstring>(&value)) return text->substr(0, text->find(L'\0'));
    if (const auto* other = std::get_if<OtherValue>(&value)) {
        if (other->data.empty()) return {};
        std::wstring data = DataText(other->type, other->data);
        if (HasControlCharacter(data)) data = Hex(other->data);
        // '<' and '>' never stand in a Windows path, so this is never taken for one.
        return L"<" + RegTypeName(other->type) + L": " + data + L">";
    }
    return {};
}

long Module1::CreateKey(RegKey root, const std::wstring& keyPath) {
    const std::optional<std::string> path = m_codePage.ToAnsi(keyPath);
    if (!path) return kErrorNoUnicodeTranslation;
    UniqueRegKey key(m_registry);
    return m_registry.CreateKeyEx(root, *path, kKeyAccess, key.put());
}

long Module1::SetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName, const RegistryValue& value,
                          std::uint32_t valueType) {
    const std::optional<std::string> path = m_codePage.ToAnsi(keyPath);
    if (!path) return kErrorNoUnicodeTranslation;
    UniqueRegKey key(m_registry);
    if (long rc = m_registry.OpenKeyEx(root, *path, kKeyAccess, key.put()); rc != kErrorSuccess) return rc;
    return SetValueOnHandle(key.get(), valueName, valueType, value);
}

RegistryValue Module1::GetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName) {
    RegistryValue value;
    UniqueRegKey key(m_registry);
    if (m_registry.OpenKeyExW(root, keyPath, kKeyRead, key.put()) != kErrorSuccess) return value;
    // An unreadable value reads as nothing, like an absent one.
    static_cast<void>(QueryValueOnHandle(key.get(), valueName, value));
    return value;
}

long Module1::DeleteKey(RegKey root, const std::wstring& keyPath) {
    const std::optional<std::string> path = m_codePage.ToAnsi(keyPath);
    if (!path) return kErrorNoUnicodeTranslation;
    return m_registry.DeleteKey(root, *path);
}

long Module1::DeleteKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName) {
    const std::optional<std::string> path = m_codePage.ToAnsi(keyPath);
    const std::optional<std::string> name = m_codePage.ToAnsi(valueName);
    if (!path || !name) return kErrorNoUnicodeTranslation;
    UniqueRegKey key(m_registry);
    if (long rc = m_registry.OpenKeyEx(root, *path, kKeyAccess, key.put()); rc != kErrorSuccess) return rc;
    return m_registry.DeleteValue(key.get(), *name);
}

long Module1::SetValueOnHandle(RegKey key, const std::wstring& valueName, std::uint32_t valueType, const RegistryValue& value) {
    const std::optional<std::string> name = m_codePage.ToAnsi(valueName);
    if (valueType == kRegSz) {
        // A text the code page cannot hold is not stored at all: '?' in its
        // place would be a different path.
        const std::optional<std::string> ansi = m_codePage.ToAnsi(TextForm(value));
        if (!name || !ansi) return kErrorNoUnicodeTranslation;
        // Counted without the NUL, as the measure of an ANSI string gives it.
        return m_registry.SetValueEx(key, *name, kRegSz, ansi->c_str(), static_cast<std::uint32_t>(ansi->size()));
    }
    if (valueType == kRegDword) {
        std::int32_t number = 0;
        if (const auto* integer = std::get_if<std::int32_t>(&value)) {
            number = *integer;
        } else {
            // Only decimal digits convert; anything else is refused rather than guessed.
            std::wstring text = TextForm(value);
            std::string digits(text.begin(), text.end());
            bool allDigits = !text.empty();
            for (wchar_t c : text) allDigits = allDigits && c >= L'0' && c <= L'9';
            if (!allDigits || std::from_chars(digits.data(), digits.data() + digits.size(), number).ec != std::errc())
                return kErrorInvalidParameter;
        }
        if (!name) return kErrorNoUnicodeTranslation;
        return m_registry.SetValueEx(key, *name, kRegDword, &number, sizeof number);
    }
    return kErrorSuccess;
}

long Module1::QueryValueOnHandle(RegKey key, const std::wstring& valueName, RegistryValue& value) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = m_registry.QueryValueExW(key, valueName, &type, nullptr, &size);
    if (rc != kErrorSuccess) return rc;
    LastValueKind = type == kRegSz ? 1 : type == kRegDword ? 2 : 3;

    RegValue stored;
    rc = QueryValueW(m_registry, key, valueName, &stored);
    if (rc != kErrorSuccess) {
        // A value gone between the two queries: a DWORD keeps what was handed
        // in, anything else reads as nothing.
        if (type != kRegDword) value = std::monostate{};
        return rc;
    }
    if (stored.type == kRegDword && stored.data.size() == sizeof(std::int32_t)) {
        value = static_cast<std::int32_t>(stored.data[0] | stored.data[1] << 8 | stored.data[2] << 16 |
                                          static_cast<std::uint32_t>(stored.data[3]) << 24);
    } else if ((stored.type == kRegSz || stored.type == kRegExpandSz) &&
               !HasControlCharacter(TextForm(FromUtf16(stored.data.data(), stored.data.size())))) {
        // The whole Unicode text, as the W function gives it: no character is
        // lost to the code page on the way.
        value = FromUtf16(stored.data.data(), stored.data.size());
    } else {
        // A DWORD of another length, any other type, and a string with a
        // control character (which no path holds, and which an edit field
        // would not keep as it is) are kept as they are.
        value = OtherValue{stored.type, std::move(stored.data)};
    }
    return rc;
}

bool Module1::KeyExists(RegKey root, const std::wstring& keyPath) {
    UniqueRegKey key(m_registry);
    return m_registry.OpenKeyExW(root, keyPath, kKeyRead, key.put()) == kErrorSuccess;
}

}  // namespace lumbrake
