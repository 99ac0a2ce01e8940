#include "module1.h"

#include <charconv>
#include <vector>

namespace lumbrake {

using namespace platform;

std::wstring TextForm(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
    if (const auto* text = std::get_if<std::wstring>(&value)) return text->substr(0, text->find(L'\0'));
    return {};
}

std::string Module1::Ansi(const std::wstring& text) const {
    return m_codePage.ToAnsi(text).value_or(std::string());
}

long Module1::CreateKey(RegKey root, const std::wstring& keyPath) {
    UniqueRegKey key(m_registry);
    return m_registry.CreateKeyEx(root, Ansi(keyPath), kKeyAccess, key.put());
}

long Module1::SetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName, const RegistryValue& value,
                          std::uint32_t valueType) {
    UniqueRegKey key(m_registry);
    if (long rc = m_registry.OpenKeyEx(root, Ansi(keyPath), kKeyAccess, key.put()); rc != kErrorSuccess) return rc;
    return SetValueOnHandle(key.get(), valueName, valueType, value);
}

RegistryValue Module1::GetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName) {
    RegistryValue value;
    UniqueRegKey key(m_registry);
    if (m_registry.OpenKeyEx(root, Ansi(keyPath), kKeyAccess, key.put()) != kErrorSuccess) return value;
    QueryValueOnHandle(key.get(), valueName, value);
    return value;
}

long Module1::DeleteKey(RegKey root, const std::wstring& keyPath) {
    return m_registry.DeleteKey(root, Ansi(keyPath));
}

long Module1::DeleteKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName) {
    UniqueRegKey key(m_registry);
    if (long rc = m_registry.OpenKeyEx(root, Ansi(keyPath), kKeyAccess, key.put()); rc != kErrorSuccess) return rc;
    return m_registry.DeleteValue(key.get(), Ansi(valueName));
}

long Module1::SetValueOnHandle(RegKey key, const std::wstring& valueName, std::uint32_t valueType, const RegistryValue& value) {
    if (valueType == kRegSz) {
        // A text the code page cannot hold is not stored at all: '?' in its
        // place would be a different path.
        std::optional<std::string> ansi = m_codePage.ToAnsi(TextForm(value));
        if (!ansi) return kErrorNoUnicodeTranslation;
        // Counted without the NUL, as the measure of an ANSI string gives it.
        return m_registry.SetValueEx(key, Ansi(valueName), kRegSz, ansi->c_str(), static_cast<std::uint32_t>(ansi->size()));
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
        return m_registry.SetValueEx(key, Ansi(valueName), kRegDword, &number, sizeof number);
    }
    return kErrorSuccess;
}

long Module1::QueryValueOnHandle(RegKey key, const std::wstring& valueName, RegistryValue& value) {
    const std::string name = Ansi(valueName);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = m_registry.QueryValueEx(key, name, &type, nullptr, &size);
    if (rc != kErrorSuccess) return rc;

    if (type == kRegDword) {
        LastValueKind = 2;
        std::int32_t number = 0;
        std::uint32_t offered = sizeof number;
        // A DWORD value longer than 4 bytes fails here, and a shorter one is
        // no number at all: both read as nothing rather than as a made-up 0.
        rc = m_registry.QueryValueEx(key, name, nullptr, &number, &offered);
        if (rc == kErrorSuccess && offered == sizeof number) value = number;
        return rc;
    }

    LastValueKind = type == kRegSz ? 1 : 3;
    std::vector<char> buffer(size);
    rc = m_registry.QueryValueEx(key, name, nullptr, buffer.data(), &size);
    if (rc == kErrorSuccess) {
        value = m_codePage.FromAnsi(std::string_view(buffer.data(), size));
    } else {
        value = std::monostate{};
    }
    return rc;
}

}  // namespace lumbrake
