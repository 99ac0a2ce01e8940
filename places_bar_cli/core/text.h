#pragma once
// A few formatting helpers shared by the commands (UTF-8 for files and pipes
// is platform::ToUtf8).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

// "{0}", "{1}"... replaced by the arguments, in any order.
std::wstring Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> arguments);

// Bytes as two hexadecimal digits each, lower case, no separator.
std::wstring HexBytes(const std::vector<std::uint8_t>& data);
std::wstring Hex32(std::uint32_t value);  // "0x80070002"

}  // namespace lumbrake::cli
