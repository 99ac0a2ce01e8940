#pragma once
// One-line RAII types for the Windows handles the programs own: each closes
// its handle once, can be moved but not copied.
#include <windows.h>

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

using UniqueHicon = UniqueHandle<HICON, DestroyIcon>;
using UniqueHfont = UniqueHandle<HFONT, CloseGdiObject>;
using UniqueHbitmap = UniqueHandle<HBITMAP, CloseGdiObject>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;

}  // namespace platform
