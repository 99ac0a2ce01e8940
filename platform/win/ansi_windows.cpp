#include <platform/ansi.h>
#include <platform/exact_ansi.h>

#include <windows.h>

namespace platform {
namespace {

// The registry's A functions convert with these, not with MultiByteToWideChar,
// and the two differ: a lead byte takes the NUL after it here.
using RtlMultiByteToUnicodeN = LONG(WINAPI*)(wchar_t*, ULONG, ULONG*, const char*, ULONG);
using RtlUnicodeToMultiByteN = LONG(WINAPI*)(char*, ULONG, ULONG*, const wchar_t*, ULONG);

template <typename Function>
Function Ntdll(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

class WindowsCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsi(std::wstring_view text) const override { return SystemAnsi(text); }

    std::wstring FromAnsi(std::string_view bytes) const override {
        static const auto convert = Ntdll<RtlMultiByteToUnicodeN>("RtlMultiByteToUnicodeN");
        std::wstring out(bytes.size(), L'\0');
        ULONG written = 0;
        if (!bytes.empty() && convert)
            convert(out.data(), static_cast<ULONG>(out.size() * sizeof(wchar_t)), &written, bytes.data(), static_cast<ULONG>(bytes.size()));
        out.resize(written / sizeof(wchar_t));
        return out;
    }

    std::string ToAnsiLossy(std::wstring_view text) const override {
        static const auto convert = Ntdll<RtlUnicodeToMultiByteN>("RtlUnicodeToMultiByteN");
        std::string out(text.size() * 4, '\0');  // the most any code page needs for one unit
        ULONG written = 0;
        if (!text.empty() && convert)
            convert(out.data(), static_cast<ULONG>(out.size()), &written, text.data(), static_cast<ULONG>(text.size() * sizeof(wchar_t)));
        out.resize(written);
        return out;
    }
};

}  // namespace

const AnsiCodePage& SystemCodePage() {
    static const WindowsCodePage codePage;
    return codePage;
}

}  // namespace platform
