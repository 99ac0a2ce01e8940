#include "json.h"

#include <cstdio>

namespace lumbrake::cli {

void Json::NewLine() {
    m_out += L'\n';
    m_out.append(2 * m_open.size(), L' ');
}

void Json::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_open.empty()) return;
    if (!m_open.back().empty) m_out += L',';
    m_open.back().empty = false;
    NewLine();
}

Json& Json::Object() {
    BeforeValue();
    m_out += L'{';
    m_open.push_back({L'}', true});
    return *this;
}

Json& Json::Array() {
    BeforeValue();
    m_out += L'[';
    m_open.push_back({L']', true});
    return *this;
}

Json& Json::End() {
    const Open open = m_open.back();
    m_open.pop_back();
    if (!open.empty) NewLine();
    m_out += open.close;
    return *this;
}

Json& Json::Key(std::string_view name) {
    BeforeValue();
    m_out += L'"';
    m_out.append(name.begin(), name.end());
    m_out += L"\": ";
    m_afterKey = true;
    return *this;
}

Json& Json::String(std::wstring_view text) {
    BeforeValue();
    m_out += L'"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<char32_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            m_out.append(text.substr(i++, 2));
        } else if (c == '"' || c == '\\') {
            m_out += L'\\';
            m_out += static_cast<wchar_t>(c);
        } else if (c < 0x20 || (c >= 0xD800 && c < 0xE000)) {
            // Control characters, and a surrogate without its pair (registry
            // names may hold one; UTF-8 cannot).
            wchar_t escaped[8];
            std::swprintf(escaped, 8, L"\\u%04X", static_cast<unsigned>(c));
            m_out += escaped;
        } else {
            m_out += text[i];
        }
    }
    m_out += L'"';
    return *this;
}

Json& Json::Number(long long number) {
    BeforeValue();
    m_out += std::to_wstring(number);
    return *this;
}

Json& Json::Bool(bool value) {
    BeforeValue();
    m_out += value ? L"true" : L"false";
    return *this;
}

Json& Json::Null() {
    BeforeValue();
    m_out += L"null";
    return *this;
}

}  // namespace lumbrake::cli
