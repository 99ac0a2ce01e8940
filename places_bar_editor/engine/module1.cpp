#include <places_bar/module1.h>

#include <platform/reg_value.h>

#include <charconv>

namespace lumbrake {

using namespace platform;

std::wstring TextForm(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
    if (const auto* text = std::get_if<std::wstring>(&value)) return text->substr(0, text->find(L'\0'));
    if (const auto* other = std::get_if<RegValue>(&value)) return DisplayForm(*other);
    return {};
}

RegistryValue Decode(const RegValue& stored) {
    if (const std::optional<std::uint32_t> number = DwordOf(stored)) return static_cast<std::int32_t>(*number);
    // The whole Unicode text, as the W function gives it: no character is
    // lost to the code page on the way.
    if (IsTextType(stored.type) && !HasControlCharacter(StringOf(stored))) return FromUtf16(stored.data.data(), stored.data.size());
    return stored;
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

RegistryValue Module1::GetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName, StoredValue* stored) {
    RegistryValue value;
    StoredValue read;
    UniqueRegKey key(m_registry);
    long rc = m_registry.OpenKeyExW(root, keyPath, kKeyRead, key.put());
    if (rc == kErrorSuccess) rc = QueryValueOnHandle(key.get(), valueName, value, &read.value);
    read.presence = PresenceOf(rc);
    if (read.presence != Presence::Present) {
        read.value = {};
        read.error = read.presence == Presence::Unreadable ? rc : 0;
        // A value that cannot be read is not shown as some other value.
        value = std::monostate{};
    }
    if (stored) *stored = std::move(read);
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

long Module1::QueryValueOnHandle(RegKey key, const std::wstring& valueName, RegistryValue& value, RegValue* stored) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = m_registry.QueryValueExW(key, valueName, &type, nullptr, &size);
    if (rc != kErrorSuccess) return rc;
    LastValueKind = type == kRegSz ? 1 : type == kRegDword ? 2 : 3;

    RegValue read;
    rc = QueryValueW(m_registry, key, valueName, &read);
    if (rc != kErrorSuccess) {
        // A value gone between the two queries: a DWORD keeps what was handed
        // in, anything else reads as nothing.
        if (type != kRegDword) value = std::monostate{};
        return rc;
    }
    value = Decode(read);
    if (stored) *stored = std::move(read);
    return rc;
}

Presence Module1::ProbeKey(RegKey root, const std::wstring& keyPath, long* error) {
    UniqueRegKey key(m_registry);
    const long rc = m_registry.OpenKeyExW(root, keyPath, kKeyRead, key.put());
    if (error) *error = rc;
    return PresenceOf(rc);
}

}  // namespace lumbrake
