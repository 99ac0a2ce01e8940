#pragma once
// Where text crosses into the ANSI ("A") functions: the system's ANSI code
// page on Windows, code page 936 in native tests.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // The exact form of the text, or nothing when some character has none:
    // the caller must not store a text with '?' in its place.
    [[nodiscard]] virtual std::optional<std::string> ToAnsi(std::wstring_view text) const = 0;
    // As the system decodes ANSI bytes: NULs are kept, and a byte sequence
    // the code page does not define becomes '?', as the A functions give it.
    virtual std::wstring FromAnsi(std::string_view bytes) const = 0;
    // As the A functions hand text back: '?' for a character the code page lacks.
    virtual std::string ToAnsiLossy(std::wstring_view text) const = 0;
};

// The code page that the A functions of this process use.
const AnsiCodePage& SystemCodePage();

// Registry strings are kept as UTF-16 code units (little-endian bytes), as
// the W functions exchange them, whatever the width of wchar_t here.
std::wstring FromUtf16(const void* data, std::size_t bytes);
std::string ToUtf16(std::wstring_view text);
// UTF-8, a lone surrogate becoming U+FFFD: for files, pipes and logs.
std::string ToUtf8(std::wstring_view text);

}  // namespace platform
