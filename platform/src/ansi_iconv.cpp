// Native builds stand in for the Windows ANSI code page with code page 936,
// the one the programs meet on their target systems.
#include <platform/ansi.h>

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

class IconvCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsi(std::wstring_view text) const override {
        std::string out;
        if (!Convert("CP936", "WCHAR_T", text.data(), text.size() * sizeof(wchar_t), out, false)) return std::nullopt;
        return out;
    }

    std::wstring FromAnsi(std::string_view bytes) const override {
        std::string out;
        Convert("WCHAR_T", "CP936", bytes.data(), bytes.size(), out, true);
        std::wstring text(out.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), out.data(), text.size() * sizeof(wchar_t));
        return text;
    }

private:
    // With `lenient`, an undecodable byte becomes U+FFFD; otherwise the
    // conversion fails on the first character that has no form.
    static bool Convert(const char* to, const char* from, const void* data, std::size_t size, std::string& out, bool lenient) {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) return false;
        auto* in = const_cast<char*>(static_cast<const char*>(data));
        std::size_t inLeft = size;
        std::vector<char> buffer(size * 4 + 16);
        bool ok = true;
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (!lenient) {
                ok = false;
                break;
            }
            wchar_t replacement = 0xFFFD;
            out.append(reinterpret_cast<const char*>(&replacement), sizeof replacement);
            ++in;
            --inLeft;
        }
        iconv_close(cd);
        return ok;
    }
};

}  // namespace

const AnsiCodePage& SystemCodePage() {
    static const IconvCodePage codePage;
    return codePage;
}

}  // namespace platform
