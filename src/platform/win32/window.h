// The one pattern of every window and dialog of the program: `this` rides in
// the window's user data from the first message on, the procedure hands each
// message to T::OnMessage, and no exception leaves it (the system's code that
// called the procedure cannot unwind). T makes the base a friend so that it
// reaches T's OnMessage.
#pragma once

#include <utility>

#include "platform/win32/dialog_template.h"
#include "platform/win32/window_support.h"
#include "platform/win32/windows_api.h"

// The SDK for Windows 7 lacks it; the message comes from Windows 8.1 on.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace kelvra::win32 {

// What windows and dialogs share: the handle, and `this` in the window
// long at Slot.
template <int Slot>
class WindowHandle {
  public:
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;
    HWND hwnd() const { return hwnd_; }
    // The DPI of the monitor the window is on.
    int Dpi() const { return WindowDpi(hwnd_); }

  protected:
    WindowHandle() = default;
    ~WindowHandle() { Destroy(); }

    // Destroys the window without T hearing of it, so that it is safe also
    // from this base's destructor, when T is gone. A T whose controls use
    // fonts it owns calls it in its own destructor, before the fonts go.
    void Destroy() {
        if (!hwnd_) return;
        const HWND window = std::exchange(hwnd_, nullptr);
        SetWindowLongPtrW(window, Slot, 0);
        DestroyWindow(window);
    }

    HWND hwnd_ = nullptr;
};

// A window of a class of its own, registered with Proc as its procedure.
// T defines LRESULT OnMessage(UINT, WPARAM, LPARAM) and leaves what it does
// not handle to Default.
template <typename T>
class Window : public WindowHandle<GWLP_USERDATA> {
  protected:
    // Registers the class, once, with Proc as its procedure.
    static bool Register(const wchar_t* className, const wchar_t* cursor, HICON icon = nullptr,
                         HICON smallIcon = nullptr) {
        return RegisterWindowClass(className, &Proc, cursor, icon, smallIcon);
    }
    // Makes the window; `this` reaches the procedure with WM_NCCREATE.
    bool Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu = nullptr) {
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                               GetModuleHandleW(nullptr), static_cast<T*>(this)) != nullptr;
    }
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created =
                static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            static_cast<Window*>(created)->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result;
        try {
            result = self->OnMessage(message, wParam, lParam);
        } catch (...) {
            // Out of memory while building a text: the message is left to
            // the system, and a window that cannot be built is not made.
            result = message == WM_CREATE ? -1 : DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            // Also when the owner goes first and takes this window with it.
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            static_cast<Window*>(self)->hwnd_ = nullptr;
        }
        return result;
    }
};

// A dialog from a template built in memory. T defines
// INT_PTR OnMessage(UINT, WPARAM, LPARAM), WM_INITDIALOG included, returning
// FALSE for what it leaves to the dialog manager.
template <typename T>
class Dialog : public WindowHandle<DWLP_USER> {
  protected:
    // Shows the dialog modally over `owner` (may be null) and returns the
    // value it ended with, or 0 or -1 when it could not be shown.
    INT_PTR RunDialog(const DialogTemplate& layout, HWND owner) {
        return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, &Proc,
                                       reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }
    // Makes the dialog modeless (hidden unless the template says WS_VISIBLE);
    // false when it could not be made.
    bool Create(const DialogTemplate& layout, HWND owner) {
        return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, &Proc,
                                          reinterpret_cast<LPARAM>(static_cast<T*>(this))) !=
               nullptr;
    }
    // What the dialog does on an exception inside a message: a modal one
    // ends as cancelled. T may hide this with its own.
    void OnFailure() { EndDialog(hwnd_, IDCANCEL); }

  private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            static_cast<Dialog*>(reinterpret_cast<T*>(lParam))->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        }
        auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self) return FALSE;
        INT_PTR result;
        try {
            result = self->OnMessage(message, wParam, lParam);
        } catch (...) {
            self->OnFailure();
            result = TRUE;
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            static_cast<Dialog*>(self)->hwnd_ = nullptr;
        }
        return result;
    }
};

}  // namespace kelvra::win32
