#include <platform/ansi.h>

#include <windows.h>

namespace platform {
namespace {

class WindowsCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsi(std::wstring_view text) const override {
        if (text.empty()) return std::string();
        const int length = static_cast<int>(text.size());
        BOOL usedDefault = FALSE;
        int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
        if (bytes <= 0 || usedDefault) return std::nullopt;
        std::string out(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), bytes, nullptr, &usedDefault);
        if (usedDefault) return std::nullopt;
        return out;
    }

    std::wstring FromAnsi(std::string_view bytes) const override {
        if (bytes.empty()) return {};
        const int length = static_cast<int>(bytes.size());
        int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
        std::wstring out(static_cast<std::size_t>(chars > 0 ? chars : 0), L'\0');
        if (chars > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), chars);
        return out;
    }
};

}  // namespace

const AnsiCodePage& SystemCodePage() {
    static const WindowsCodePage codePage;
    return codePage;
}

}  // namespace platform
