// What a program started afterwards sees of what the programs set, as the
// tests judge it, built for either bitness:
//   consumer_probe places          the places bar of its classic Open dialog, a
//                                  line a place (exit 1: no places bar; 2: no dialog)
//   consumer_probe program-files   the shell's program-files folder
//                                  (CSIDL_PROGRAM_FILES), then its %ProgramFiles%
// Lines in UTF-8, each ending in CRLF.
#include <e2e/driver.h>

#include <shlobj.h>

#include <string>

namespace {

void WriteLine(const std::wstring& line) {
    const std::wstring text = line + L"\r\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(bytes), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"places") {
        bool seen = false;
        const auto places = e2e::OpenDialogPlaces(seen);
        if (!seen) return 2;
        if (!places) return 1;
        for (const std::wstring& place : *places) WriteLine(place);
        return 0;
    }
    if (verb == L"program-files") {
        wchar_t folder[MAX_PATH] = {};
        const HRESULT result = SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder);
        WriteLine(SUCCEEDED(result) ? std::wstring(folder) : L"(SHGetFolderPathW failed: " + std::to_wstring(result) + L")");
        wchar_t variable[32767] = {};
        GetEnvironmentVariableW(L"ProgramFiles", variable, 32767);
        WriteLine(variable);
        return 0;
    }
    return 3;
}
