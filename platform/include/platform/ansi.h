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
    // Empty optional when some character has no form in the code page:
    // the caller must not store a text with '?' in its place.
    virtual std::optional<std::string> ToAnsi(std::wstring_view text) const = 0;
    // Bytes that do not decode become U+FFFD; NULs are kept as characters.
    virtual std::wstring FromAnsi(std::string_view bytes) const = 0;
};

// The code page that the A functions of this process use.
const AnsiCodePage& SystemCodePage();

}  // namespace platform
