// The conversion into the ANSI code page, run against a stand-in that
// answers as Windows' WideCharToMultiByte does, including on a system whose
// code page is UTF-8.
#include <platform/exact_ansi.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::ExactAnsi;
using platform::ExactAnsiInto;

// What Windows documents: for UTF-8 the flags may be 0 or WC_ERR_INVALID_CHARS
// only, and the used-default report must not be asked for; elsewhere (a
// single-byte code page here, holding U+0000 to U+00FF) a character the code
// page lacks becomes '?' and is reported when asked.
int WindowsStandIn(unsigned codePage, unsigned long flags, const wchar_t* text, int length, char* out, int outSize, int* usedDefault) {
    std::string bytes;
    if (codePage == platform::kCodePageUtf8) {
        if ((flags & ~platform::kWcErrInvalidChars) != 0 || usedDefault) return 0;
        for (int i = 0; i < length; ++i) {
            const auto c = static_cast<char32_t>(text[i]);
            if (c >= 0xD800 && c < 0xE000) {
                if (flags & platform::kWcErrInvalidChars) return 0;
                bytes += "\xEF\xBF\xBD";
            } else if (c < 0x80) {
                bytes += static_cast<char>(c);
            } else if (c < 0x800) {
                bytes += static_cast<char>(0xC0 | (c >> 6));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                bytes += static_cast<char>(0xE0 | (c >> 12));
                bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                bytes += static_cast<char>(0xF0 | (c >> 18));
                bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    } else {
        for (int i = 0; i < length; ++i) {
            const auto c = static_cast<char32_t>(text[i]);
            if (c < 0x100) {
                bytes += static_cast<char>(c);
            } else {
                bytes += '?';
                if (usedDefault) *usedDefault = 1;
            }
        }
    }
    if (outSize == 0) return static_cast<int>(bytes.size());
    if (outSize < static_cast<int>(bytes.size())) return 0;
    bytes.copy(out, bytes.size());
    return static_cast<int>(bytes.size());
}

TEST(ExactAnsi, OnAUtf8System_EveryTextConverts_WhereTheBestFitFlagWouldFailAll) {
    EXPECT_EQ(ExactAnsi(WindowsStandIn, 65001, L"D:\\下载\\한글"), std::string("D:\\\xE4\xB8\x8B\xE8\xBD\xBD\\\xED\x95\x9C\xEA\xB8\x80"));
    EXPECT_EQ(ExactAnsi(WindowsStandIn, 65001, L"Place0"), std::string("Place0"));
    EXPECT_FALSE(ExactAnsi(WindowsStandIn, 65001, std::wstring(1, static_cast<wchar_t>(0xD800))).has_value()) << "a lone surrogate";
    int used = 0;
    EXPECT_EQ(WindowsStandIn(65001, platform::kWcNoBestFitChars, L"Place0", 6, nullptr, 0, &used), 0)
        << "the stand-in refuses, as Windows does, what a naive conversion asks for";
}

TEST(ExactAnsi, ElsewhereACharacterTheCodePageLacksIsRefused_NeverAQuestionMark) {
    EXPECT_EQ(ExactAnsi(WindowsStandIn, 1252, L"C:\\Café"), std::string("C:\\Caf\xE9"));
    EXPECT_FALSE(ExactAnsi(WindowsStandIn, 1252, L"D:\\下载").has_value());
    EXPECT_EQ(ExactAnsi(WindowsStandIn, 1252, L""), std::string());
}

TEST(ExactAnsiInto, RefusesWhatDoesNotFit_WithoutCuttingIt) {
    char buffer[8] = {};
    EXPECT_EQ(ExactAnsiInto(WindowsStandIn, 65001, L"中文", buffer, 6), 6);
    EXPECT_EQ(std::string(buffer, 6), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(ExactAnsiInto(WindowsStandIn, 65001, L"中文x", buffer, 6), -1);
    EXPECT_EQ(ExactAnsiInto(WindowsStandIn, 65001, L"中文x", nullptr, 0), 7) << "measuring only";
}

}  // namespace
