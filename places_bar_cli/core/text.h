#pragma once
// Text as the command line writes it: UTF-8 for files and pipes, and a
// few formatting helpers shared by the commands.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

// UTF-8 of a wide text; a lone surrogate (which registry names may hold)
// becomes U+FFFD, since UTF-8 has no form for it.
std::string Utf8(std::wstring_view text);

// "{0}", "{1}"... replaced by the arguments, in any order.
std::wstring Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> arguments);

// Bytes as two hexadecimal digits each, lower case, no separator.
std::wstring HexBytes(const std::vector<std::uint8_t>& data);
std::wstring Hex32(std::uint32_t value);  // "0x80070002"

// Case folding of ASCII letters only, as registry names compare.
bool SameName(std::wstring_view a, std::wstring_view b);

}  // namespace lumbrake::cli
