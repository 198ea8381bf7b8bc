#pragma once
// RAII holders for the Win32 handles the program owns, so that no path through
// a handler can leak one.
#include <windows.h>

#include <utility>

namespace kelvo::win {

template <typename Traits> class UniqueHandleOf {
  public:
    using Type = typename Traits::Type;
    UniqueHandleOf() = default;
    explicit UniqueHandleOf(Type h) : h_(h) {}
    ~UniqueHandleOf() { reset(); }
    UniqueHandleOf(UniqueHandleOf&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& o) noexcept {
        if (this != &o)
            reset(std::exchange(o.h_, Traits::invalid()));
        return *this;
    }
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;

    Type get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    Type release() { return std::exchange(h_, Traits::invalid()); }
    void reset(Type h = Traits::invalid()) {
        if (h_ != Traits::invalid())
            Traits::close(h_);
        h_ = h;
    }

  private:
    Type h_ = Traits::invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { FindClose(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DestroyIcon(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DestroyMenu(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DeleteObject(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { FreeLibrary(h); }
};

using UniqueHandle = UniqueHandleOf<KernelHandleTraits>;
using UniqueFindHandle = UniqueHandleOf<FindHandleTraits>;
using UniqueIcon = UniqueHandleOf<IconTraits>;
using UniqueMenu = UniqueHandleOf<MenuTraits>;
using UniqueGdiObject = UniqueHandleOf<GdiObjectTraits>;
using UniqueModule = UniqueHandleOf<ModuleTraits>;

// A device context taken with GetDC, given back on scope exit.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC for the length of a scope.
class ScopedSelectObject {
  public:
    ScopedSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~ScopedSelectObject() {
        if (old_)
            SelectObject(dc_, old_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace kelvo::win
