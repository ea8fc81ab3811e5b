// Move-only owners of Windows handles: each closes its handle exactly once,
// and copying is deleted so no two owners can hold the same handle.
#pragma once

#include <utility>

#include "platform/win32/windows_api.h"

namespace kelvra::win32 {

// Owner of a handle type H closed by Close(H); Invalid() is the empty value.
template <typename H, typename Traits>
class Owned {
  public:
    Owned() = default;
    explicit Owned(H handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    // The address of the empty handle, for calls that return one through an
    // out argument; whatever was owned is closed first.
    H* put() {
        Reset();
        return &handle_;
    }
    H Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(H handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

  private:
    H handle_ = Traits::Invalid();
};

struct KeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct FileTraits {  // CreateFile and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct HandleTraits {  // most other kernel objects fail with null
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};
struct LocalTraits {  // memory handed out by LocalAlloc, e.g. security descriptors
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL memory) { LocalFree(memory); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON icon) { DestroyIcon(icon); }
};
template <typename H>  // HGDIOBJ or one of its kinds: HFONT, HBRUSH, HBITMAP
struct GdiTraits {
    static H Invalid() { return nullptr; }
    static void Close(H object) { DeleteObject(object); }
};
struct ItemListTraits {  // the shell's item lists (PIDLs), from the task allocator
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static void Close(PIDLIST_ABSOLUTE items) { CoTaskMemFree(items); }
};

using UniqueKey = Owned<HKEY, KeyTraits>;
using UniqueFile = Owned<HANDLE, FileTraits>;
using UniqueHandle = Owned<HANDLE, HandleTraits>;
using UniqueFind = Owned<HANDLE, FindTraits>;
using UniqueLocal = Owned<HLOCAL, LocalTraits>;
using UniqueMenu = Owned<HMENU, MenuTraits>;
using UniqueIcon = Owned<HICON, IconTraits>;
using UniqueFont = Owned<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Owned<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueBitmap = Owned<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueItemList = Owned<PIDLIST_ABSOLUTE, ItemListTraits>;

// A window's device context from GetDC, released at the end of the scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the one selected
// before is put back at its end.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() {
        if (old_) SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Owner of one reference to a COM interface.
template <typename T>
class UniqueCom {
  public:
    UniqueCom() = default;
    ~UniqueCom() { Reset(); }
    UniqueCom(const UniqueCom&) = delete;
    UniqueCom& operator=(const UniqueCom&) = delete;
    UniqueCom(UniqueCom&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    UniqueCom& operator=(UniqueCom&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For calls that hand out an interface through a void** argument.
    void** put() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

  private:
    T* p_ = nullptr;
};

// COM on the calling thread for the length of one call, where the thread
// has not initialised it.
class ComScope {
  public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised_;
};

}  // namespace kelvra::win32
