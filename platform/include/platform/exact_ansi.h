#pragma once
// The one conversion of program text into the ANSI code page on its way to
// an A function. It is written over a function shaped like
// WideCharToMultiByte, so that native tests can run it against a stand-in
// that answers as Windows does; on Windows, SystemAnsi and SystemAnsiInto
// bind it to the system's converter and code page.
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned long kWcErrInvalidChars = 0x80;
inline constexpr unsigned long kWcNoBestFitChars = 0x400;

// Converts into out[0..capacity) and returns the byte count, or -1 when a
// character has no exact form in the code page or the text does not fit.
// With a null `out` it only measures.
// convert(codePage, flags, text, length, out, outSize, usedDefault) answers
// as WideCharToMultiByte does: the bytes written (or needed when outSize is
// 0), 0 on failure.
template <typename Convert>
[[nodiscard]] int ExactAnsiInto(Convert&& convert, unsigned codePage, std::wstring_view text, char* out, int capacity) {
    if (text.empty()) return 0;
    // Windows refuses both the best-fit flag and the used-default report for
    // UTF-8, which holds every character anyway: there only malformed text
    // (a lone surrogate) fails. Elsewhere a character without its own form
    // would come out as '?' or as a look-alike.
    const bool utf8 = codePage == kCodePageUtf8;
    const unsigned long flags = utf8 ? kWcErrInvalidChars : kWcNoBestFitChars;
    int usedDefault = 0;
    int* used = utf8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int needed = convert(codePage, flags, text.data(), length, nullptr, 0, used);
    if (needed <= 0 || usedDefault) return -1;
    if (!out) return needed;
    if (needed > capacity) return -1;
    if (convert(codePage, flags, text.data(), length, out, needed, used) != needed || usedDefault) return -1;
    return needed;
}

template <typename Convert>
[[nodiscard]] std::optional<std::string> ExactAnsi(Convert&& convert, unsigned codePage, std::wstring_view text) {
    const int needed = ExactAnsiInto(convert, codePage, text, nullptr, 0);
    if (needed < 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(needed), '\0');
    if (needed > 0 && ExactAnsiInto(convert, codePage, text, out.data(), needed) != needed) return std::nullopt;
    return out;
}

#ifdef _WIN32
inline int WindowsWideToAnsi(unsigned codePage, unsigned long flags, const wchar_t* text, int length, char* out, int outSize,
                             int* usedDefault) {
    return WideCharToMultiByte(codePage, flags, text, length, out, outSize, nullptr, usedDefault);
}

// In the code page of this process's A functions.
[[nodiscard]] inline std::optional<std::string> SystemAnsi(std::wstring_view text) { return ExactAnsi(WindowsWideToAnsi, GetACP(), text); }
[[nodiscard]] inline int SystemAnsiInto(std::wstring_view text, char* out, int capacity) {
    return ExactAnsiInto(WindowsWideToAnsi, GetACP(), text, out, capacity);
}
#endif

}  // namespace platform
