// Native builds stand in for the Windows ANSI code page with code page 936
// as Windows (and Wine) define it: the double-byte table is GB18030's, with
// the few single bytes that only Microsoft's table has, and the A functions'
// way with what the table lacks ('?' either way).
#include <platform/ansi.h>

#include <iconv.h>

#include <array>
#include <optional>

namespace platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }

    // The whole input converted, or nothing when any of it does not convert.
    std::optional<std::string> operator()(const void* data, std::size_t size) const {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 16> buffer{};
        auto* in = const_cast<char*>(static_cast<const char*>(data));
        std::size_t inLeft = size;
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        if (iconv(m_cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
        if (iconv(m_cd, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
        return std::string(buffer.data(), buffer.size() - outLeft);
    }

private:
    iconv_t m_cd;
};

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The bytes of one character in code page 936, or nothing when it has none.
std::optional<std::string> Encode(wchar_t c) {
    const auto point = static_cast<char32_t>(c);
    if (point < 0x80) return std::string(1, static_cast<char>(point));
    if (point == 0x20AC) return std::string("\x80");
    if (point == 0xF8F5) return std::string("\xFF");
    if (point >= 0xD800 && point < 0xE000) return std::nullopt;
    thread_local const Converter toGb18030("GB18030", "UTF-32LE");
    const char32_t little = point;  // the hosts this builds on are little-endian
    std::optional<std::string> bytes = toGb18030(&little, sizeof little);
    // Four-byte sequences are GB18030's own; code page 936 stops at two.
    if (!bytes || bytes->size() != 2) return std::nullopt;
    return bytes;
}

wchar_t DecodePair(unsigned char lead, unsigned char trail) {
    thread_local const Converter fromGb18030("UTF-32LE", "GB18030");
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    std::optional<std::string> utf32 = fromGb18030(pair, sizeof pair);
    if (!utf32 || utf32->size() != 4) return L'?';
    char32_t point = 0;
    for (int i = 3; i >= 0; --i) point = (point << 8) | static_cast<unsigned char>((*utf32)[static_cast<std::size_t>(i)]);
    return static_cast<wchar_t>(point);
}

class Cp936 final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsi(std::wstring_view text) const override {
        std::string out;
        for (wchar_t c : text) {
            std::optional<std::string> bytes = Encode(c);
            if (!bytes) return std::nullopt;
            out += *bytes;
        }
        return out;
    }

    std::string ToAnsiLossy(std::wstring_view text) const override {
        std::string out;
        for (wchar_t c : text) out += Encode(c).value_or("?");
        return out;
    }

    // A lead byte takes the byte after it, whatever it is, as Windows does;
    // a pair or a lead byte at the end that the table does not define is '?'.
    std::wstring FromAnsi(std::string_view bytes) const override {
        std::wstring text;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            if (byte < 0x80) {
                text.push_back(static_cast<wchar_t>(byte));
            } else if (byte == 0x80) {
                text.push_back(static_cast<wchar_t>(0x20AC));
            } else if (byte == 0xFF) {
                text.push_back(static_cast<wchar_t>(0xF8F5));
            } else if (IsLeadByte(byte) && i + 1 < bytes.size()) {
                text.push_back(DecodePair(byte, static_cast<unsigned char>(bytes[i + 1])));
                ++i;
            } else {
                text.push_back(L'?');
            }
        }
        return text;
    }
};

}  // namespace

const AnsiCodePage& SystemCodePage() {
    static const Cp936 codePage;
    return codePage;
}

}  // namespace platform
