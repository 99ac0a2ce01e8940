#pragma once
// One-line RAII types for the Windows handles the programs own, in the WIL
// manner: each closes its handle once, can be moved but not copied. Then the
// guards that put something back when a scope ends, however it ends.
#include <windows.h>
#include <shtypes.h>

#include <utility>

namespace platform {

template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value) : m_value(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_value(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const { return m_value; }
    T* put() {
        reset();
        return &m_value;
    }
    T release() { return std::exchange(m_value, Invalid); }
    void reset(T value = Invalid) {
        if (m_value != Invalid) Close(m_value);
        m_value = value;
    }
    explicit operator bool() const { return m_value != Invalid; }

private:
    T m_value = Invalid;
};

inline void CloseGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DestroyHwnd(HWND window) { DestroyWindow(window); }
inline void FreeHmodule(HMODULE module) { FreeLibrary(module); }
inline void ReleaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }

// COM's task allocator, found in the ole32 that is already loaded: whoever
// hands out such memory (the shell) has loaded it. The programs import no
// ole32 of their own, which would load it at every start.
inline void FreeCoTaskMem(void* memory) {
    using Free = void(WINAPI*)(void*);
    if (HMODULE ole32 = GetModuleHandleW(L"ole32.dll"))
        if (const auto taskMemFree = reinterpret_cast<Free>(reinterpret_cast<void*>(GetProcAddress(ole32, "CoTaskMemFree"))))
            taskMemFree(memory);
}

using UniqueHicon = UniqueHandle<HICON, DestroyIcon>;
using UniqueHfont = UniqueHandle<HFONT, CloseGdiObject>;
using UniqueHbitmap = UniqueHandle<HBITMAP, CloseGdiObject>;
using UniqueHwnd = UniqueHandle<HWND, DestroyHwnd>;
using UniqueHmodule = UniqueHandle<HMODULE, FreeHmodule>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueScreenDc = UniqueHandle<HDC, ReleaseScreenDc>;  // GetDC(nullptr)
using UniqueIdList = UniqueHandle<LPITEMIDLIST, FreeCoTaskMem>;

// Runs `function` when the scope ends: for what has no handle of its own,
// such as a CoInitialize to be balanced.
template <typename Function>
class ScopeExit {
public:
    explicit ScopeExit(Function function) : m_function(std::move(function)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { m_function(); }

private:
    Function m_function;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(m_dc, m_previous); }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace platform
