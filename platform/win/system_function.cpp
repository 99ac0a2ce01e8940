#include <platform/win/system_function.h>

#include <string>

namespace platform {

void* SystemFunctionAddress(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) {
        // By its full path, so that no DLL of that name beside the program is taken.
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        const std::wstring path = std::wstring(folder, length) + L'\\' + library;
        // Never freed: the shell may still run code of its own after its dialog closes.
        module = LoadLibraryW(path.c_str());
        if (!module) return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(module, name));
}

}  // namespace platform
