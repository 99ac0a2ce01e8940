#include "reg_file.h"

#include "text.h"

#include <platform/reg_value.h>

#include <algorithm>
#include <cstdio>

namespace lumbrake::cli {

using namespace platform;

namespace {

constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeader4 = L"REGEDIT4";
// Where regedit breaks a line of hexadecimal data, counted as it counts.
constexpr std::size_t kHexLineLength = 77;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }
int HexValue(wchar_t c) { return c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10; }

std::size_t SkipBlanks(std::wstring_view line, std::size_t i) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    return i;
}

// Nothing but blanks, and perhaps a comment, from i to the end of the line.
bool RestIsEmpty(std::wstring_view line, std::size_t i) {
    i = SkipBlanks(line, i);
    return i == line.size() || line[i] == L';';
}

std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text) {
    const std::string units = ToUtf16(text);
    return {units.begin(), units.end()};
}

enum class Unescaped { Ok, BadEscape, Unterminated };

// From just after an opening quote to just after the closing one. The
// escapes are those regedit writes (\\ and \") and those Wine's adds (\n, \r).
Unescaped Unescape(std::wstring_view line, std::size_t& i, std::wstring& out) {
    for (; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (c == L'"') {
            ++i;
            return Unescaped::Ok;
        }
        if (c != L'\\') {
            out += c;
            continue;
        }
        if (++i == line.size()) return Unescaped::Unterminated;
        switch (line[i]) {
        case L'\\':
        case L'"': out += line[i]; break;
        case L'n': out += L'\n'; break;
        case L'r': out += L'\r'; break;
        default: return Unescaped::BadEscape;
        }
    }
    return Unescaped::Unterminated;
}

enum class HexEnd { Done, Continued, Bad };

// Bytes of one or two hexadecimal digits separated by commas; a backslash
// after a comma (or at the start) continues the data on the next line.
HexEnd HexBytes(std::wstring_view line, std::size_t i, std::vector<std::uint8_t>& out) {
    for (;;) {
        i = SkipBlanks(line, i);
        if (i == line.size() || line[i] == L';') return HexEnd::Done;
        if (line[i] == L'\\') return RestIsEmpty(line, i + 1) ? HexEnd::Continued : HexEnd::Bad;
        if (!IsHexDigit(line[i])) return HexEnd::Bad;
        int byte = HexValue(line[i++]);
        if (i < line.size() && IsHexDigit(line[i])) byte = byte * 16 + HexValue(line[i++]);
        out.push_back(static_cast<std::uint8_t>(byte));
        i = SkipBlanks(line, i);
        if (i == line.size() || line[i] == L';') return HexEnd::Done;
        if (line[i] != L',') return HexEnd::Bad;
        ++i;
    }
}

// Up to eight hexadecimal digits from i; false when there are none or more.
bool HexNumber(std::wstring_view text, std::size_t& i, std::uint32_t& value) {
    const std::size_t start = i;
    value = 0;
    while (i < text.size() && IsHexDigit(text[i])) value = value * 16 + static_cast<std::uint32_t>(HexValue(text[i++]));
    return i > start && i - start <= 8;
}

bool ValidKeyPath(std::wstring_view path) {
    if (path.empty() || path.front() == L'\\' || path.back() == L'\\') return false;
    return path.find(L"\\\\") == std::wstring_view::npos;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r' && text[i] != L'\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

class Parser {
public:
    Parser(std::vector<std::wstring_view> lines, bool unicode, const AnsiCodePage& codePage)
        : m_lines(std::move(lines)), m_codePage(codePage) {
        m_file.unicode = unicode;
    }

    std::variant<RegFile, RegFileError> Run() {
        for (std::size_t n = 0; n < m_lines.size(); ++n)
            if (m_lines[n].find(L'\0') != std::wstring_view::npos) return RegFileError{static_cast<int>(n + 1), RegFileProblem::NulCharacter};
        std::wstring_view header = m_lines.front();
        header = header.substr(SkipBlanks(header, 0));
        while (!header.empty() && IsBlank(header.back())) header.remove_suffix(1);
        if (header != kHeader5 && header != kHeader4) return RegFileError{1, RegFileProblem::NotARegistryFile};

        for (m_next = 1; m_next < m_lines.size();) {
            const int lineNumber = static_cast<int>(m_next + 1);
            const std::wstring_view line = m_lines[m_next++];
            const std::size_t i = SkipBlanks(line, 0);
            std::optional<RegFileProblem> problem;
            if (i == line.size() || line[i] == L';') continue;
            if (line[i] == L'[') problem = KeyLine(line, i + 1, lineNumber);
            else if (line[i] == L'@' || line[i] == L'"') problem = ValueLine(line, i, lineNumber);
            else problem = RegFileProblem::UnknownLine;
            if (problem) return RegFileError{m_errorLine ? m_errorLine : lineNumber, *problem};
        }
        return std::move(m_file);
    }

private:
    std::optional<RegFileProblem> KeyLine(std::wstring_view line, std::size_t i, int lineNumber) {
        const std::size_t close = line.rfind(L']');
        if (i == line.size() || IsBlank(line[i]) || close == std::wstring_view::npos || close < i || !RestIsEmpty(line, close + 1))
            return RegFileProblem::BadKeyLine;
        const bool deletion = line[i] == L'-';
        const std::wstring_view path = line.substr(i + deletion, close - i - deletion);
        if (!ValidKeyPath(path)) return RegFileProblem::BadKeyLine;
        m_file.operations.push_back({deletion ? RegOperation::Kind::DeleteKey : RegOperation::Kind::Key, lineNumber, std::wstring(path), {}, {}});
        m_key = deletion ? std::nullopt : std::optional<std::wstring>(path);
        return std::nullopt;
    }

    std::optional<RegFileProblem> ValueLine(std::wstring_view line, std::size_t i, int lineNumber) {
        if (!m_key) return RegFileProblem::ValueWithoutKey;
        RegOperation op{RegOperation::Kind::SetValue, lineNumber, *m_key, {}, {}};
        if (line[i++] == L'"') {
            const Unescaped name = Unescape(line, i, op.valueName);
            if (name == Unescaped::BadEscape) return RegFileProblem::BadEscape;
            if (name == Unescaped::Unterminated) return RegFileProblem::BadValueName;
        }
        i = SkipBlanks(line, i);
        if (i == line.size() || line[i] != L'=') return RegFileProblem::BadValueName;
        std::wstring_view data = line.substr(SkipBlanks(line, i + 1));
        while (!data.empty() && IsBlank(data.back())) data.remove_suffix(1);

        if (data.starts_with(L'-')) {
            if (!RestIsEmpty(data, 1)) return RegFileProblem::BadData;
            op.kind = RegOperation::Kind::DeleteValue;
        } else if (data.starts_with(L'"')) {
            std::size_t j = 1;
            std::wstring text;
            const Unescaped string = Unescape(data, j, text);
            if (string == Unescaped::BadEscape) return RegFileProblem::BadEscape;
            if (string == Unescaped::Unterminated || !RestIsEmpty(data, j)) return RegFileProblem::BadData;
            op.value = {kRegSz, Utf16Bytes(text + L'\0')};
        } else if (data.starts_with(L"dword:")) {
            std::size_t j = SkipBlanks(data, 6);
            std::uint32_t number = 0;
            if (!HexNumber(data, j, number) || !RestIsEmpty(data, j)) return RegFileProblem::BadData;
            op.value = DwordValue(number);
        } else if (auto problem = HexValueData(data, op.value)) {
            return problem;
        }
        m_file.operations.push_back(std::move(op));
        return std::nullopt;
    }

    std::optional<RegFileProblem> HexValueData(std::wstring_view data, RegValue& value) {
        std::size_t j = 0;
        if (data.starts_with(L"hex:")) {
            value.type = kRegBinary;
            j = 4;
        } else if (data.starts_with(L"hex(")) {
            j = 4;
            if (!HexNumber(data, j, value.type) || data.substr(j, 2) != L"):") return RegFileProblem::BadData;
            j += 2;
        } else {
            return RegFileProblem::BadData;
        }
        HexEnd end = HexBytes(data, j, value.data);
        while (end == HexEnd::Continued && m_next < m_lines.size()) {
            const std::wstring_view line = m_lines[m_next++];
            const std::size_t k = SkipBlanks(line, 0);
            if (k == line.size() || line[k] == L';') continue;  // regedit skips these inside the data
            if (!IsHexDigit(line[k])) {
                m_errorLine = static_cast<int>(m_next);
                return RegFileProblem::BadData;
            }
            end = HexBytes(line, k, value.data);
            if (end == HexEnd::Bad) m_errorLine = static_cast<int>(m_next);
        }
        if (end == HexEnd::Bad) return RegFileProblem::BadData;
        // A REGEDIT4 file holds the strings of these types in the code page.
        const bool stringType = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
        if (!m_file.unicode && stringType) {
            const std::string_view ansi(reinterpret_cast<const char*>(value.data.data()), value.data.size());
            const std::wstring text = m_codePage.FromAnsi(ansi);
            const std::optional<std::string> back = m_codePage.ToAnsi(text);
            if (!back || *back != ansi) return RegFileProblem::NotInCodePage;
            value.data = Utf16Bytes(text);
        }
        return std::nullopt;
    }

    std::vector<std::wstring_view> m_lines;
    const AnsiCodePage& m_codePage;
    RegFile m_file;
    std::size_t m_next = 0;
    std::optional<std::wstring> m_key;
    int m_errorLine = 0;  // when the problem is on a continuation line
};

std::wstring EscapeText(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'"': out += L"\\\""; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        default: out += c;
        }
    }
    return out;
}

// A REG_SZ that a quoted string gives back exactly: one NUL at its end and
// no other, and no control character (which regedit's string form does not
// carry the same way everywhere).
std::optional<std::wstring> QuotedForm(const RegValue& value) {
    if (value.type != kRegSz || value.data.size() < 2 || value.data.size() % 2) return std::nullopt;
    const std::wstring text = FromUtf16(value.data.data(), value.data.size());
    if (text.back() != L'\0' || text.find(L'\0') + 1 != text.size() || HasControlCharacter(StringOf(value))) return std::nullopt;
    return text.substr(0, text.size() - 1);
}

void WriteValue(std::wstring& out, const std::wstring& name, const std::optional<RegValue>& value) {
    const std::wstring head = name.empty() ? L"@=" : L"\"" + EscapeText(name) + L"\"=";
    out += head;
    if (!value) {
        out += L"-\r\n";
        return;
    }
    if (std::optional<std::wstring> text = QuotedForm(*value)) {
        out += L"\"" + EscapeText(*text) + L"\"\r\n";
        return;
    }
    wchar_t number[24];
    if (const std::optional<std::uint32_t> dword = DwordOf(*value)) {
        std::swprintf(number, 24, L"dword:%08x", static_cast<unsigned>(*dword));
        out += number;
        out += L"\r\n";
        return;
    }
    std::swprintf(number, 24, L"hex(%x):", static_cast<unsigned>(value->type));
    const std::wstring tag = value->type == kRegBinary ? L"hex:" : number;
    out += tag;
    std::size_t lineLength = head.size() + tag.size();
    const std::wstring digits = cli::HexBytes(value->data);
    for (std::size_t i = 0; i < value->data.size(); ++i) {
        out.append(digits, 2 * i, 2);
        if (i + 1 == value->data.size()) break;
        out += L',';
        lineLength += 3;
        if (lineLength >= kHexLineLength) {
            out += L"\\\r\n  ";
            lineLength = 2;
        }
    }
    out += L"\r\n";
}

void TreeSections(const std::wstring& path, const KeyNode& node, std::vector<RegSection>& sections) {
    RegSection section{path, false, {}};
    for (const NamedValue& value : node.values) section.values.emplace_back(value.name, value.value);
    sections.push_back(std::move(section));
    for (const KeyNode& key : node.keys) TreeSections(path + L"\\" + key.name, key, sections);
}

}  // namespace

std::variant<RegFile, RegFileError> ParseRegFile(std::string_view bytes, const AnsiCodePage& codePage) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        const std::wstring text = FromUtf16(bytes.data() + 2, bytes.size() - 2);
        std::vector<std::wstring_view> lines = SplitLines(text);
        if (bytes.size() % 2) return RegFileError{static_cast<int>(lines.size()), RegFileProblem::OddLength};
        return Parser(std::move(lines), true, codePage).Run();
    }
    // Line by line, as regedit reads it: a lead byte never takes a line break.
    std::vector<std::wstring> texts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') continue;
        const std::string_view ansi = bytes.substr(start, i - start);
        texts.push_back(codePage.FromAnsi(ansi));
        const std::optional<std::string> back = codePage.ToAnsi(texts.back());
        if (!back || *back != ansi) return RegFileError{static_cast<int>(texts.size()), RegFileProblem::NotInCodePage};
        if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    std::vector<std::wstring_view> lines(texts.begin(), texts.end());
    return Parser(std::move(lines), false, codePage).Run();
}

std::wstring RegFileText(const std::vector<RegSection>& sections) {
    std::wstring out(kHeader5);
    out += L"\r\n";
    for (const RegSection& section : sections) {
        out += section.deleteKey ? L"\r\n[-" : L"\r\n[";
        out += section.keyPath + L"]\r\n";
        for (const auto& [name, value] : section.values) WriteValue(out, name, value);
    }
    out += L"\r\n";
    return out;
}

std::string RegFileBytes(const std::vector<RegSection>& sections) { return "\xFF\xFE" + ToUtf16(RegFileText(sections)); }

std::vector<RegSection> SectionsOfTree(const std::wstring& keyPath, const KeyState& state, bool deleteFirst) {
    std::vector<RegSection> sections;
    if (deleteFirst || !state) sections.push_back({keyPath, true, {}});
    if (state) TreeSections(keyPath, *state, sections);
    return sections;
}

std::variant<KeyState, KeyOutside> StateAfter(const std::wstring& rootPath, const std::vector<RegOperation>& operations) {
    const std::vector<std::wstring> root = SplitKeyPath(rootPath);
    KeyState state;
    for (const RegOperation& op : operations) {
        const std::vector<std::wstring> parts = SplitKeyPath(op.keyPath);
        bool inside = parts.size() >= root.size();
        for (std::size_t i = 0; inside && i < root.size(); ++i) inside = SameName(parts[i], root[i]);
        if (!inside) return KeyOutside{op.line, op.keyPath};

        if (op.kind == RegOperation::Kind::DeleteKey) {
            KeyNode* parent = state ? &*state : nullptr;
            for (std::size_t i = root.size(); parent && i + 1 < parts.size(); ++i) parent = parent->FindKey(parts[i]);
            if (parts.size() == root.size()) state.reset();
            else if (parent)
                std::erase_if(parent->keys, [&](const KeyNode& k) { return SameName(k.name, parts.back()); });
            continue;
        }
        // The key of the section, made with any missing keys above it; a
        // name already there keeps its spelling, as the registry keeps it.
        if (!state) state = KeyNode{parts[root.size() - 1], {}, {}};
        KeyNode* node = &*state;
        for (std::size_t i = root.size(); i < parts.size(); ++i) {
            KeyNode* child = node->FindKey(parts[i]);
            if (!child) child = &node->keys.emplace_back(KeyNode{parts[i], {}, {}});
            node = child;
        }
        auto existing = std::find_if(node->values.begin(), node->values.end(), [&](const NamedValue& v) { return SameName(v.name, op.valueName); });
        if (op.kind == RegOperation::Kind::SetValue) {
            if (existing != node->values.end()) existing->value = op.value;
            else node->values.push_back({op.valueName, op.value});
        } else if (op.kind == RegOperation::Kind::DeleteValue && existing != node->values.end()) {
            node->values.erase(existing);
        }
    }
    return state;
}

}  // namespace lumbrake::cli
