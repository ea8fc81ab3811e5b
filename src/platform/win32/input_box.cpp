#include "platform/win32/input_box.h"

#include <algorithm>
#include <utility>

#include "platform/win32/handles.h"
#include "platform/win32/window.h"

namespace kelvra {

namespace {

constexpr WORD kIdPrompt = 100;
constexpr WORD kIdEdit = 101;

void MoveBy(HWND dialog, HWND control, int dy) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Long prompts (several paragraphs) would be cut off in the fixed layout:
// grow the prompt to the height its text needs, at most half the screen, and
// push the edit box and the dialog's bottom down by as much.
void FitPrompt(HWND dialog, const std::wstring& prompt) {
    HWND label = GetDlgItem(dialog, kIdPrompt);
    RECT box;
    GetClientRect(label, &box);
    RECT needed = box;
    {
        const win32::WindowDc dc(label);
        if (!dc) return;
        const win32::Selected font(
            dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        DrawTextW(dc.get(), prompt.c_str(), static_cast<int>(prompt.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    }

    int extra = (needed.bottom - needed.top) - (box.bottom - box.top);
    extra = std::min(extra, GetSystemMetrics(SM_CYSCREEN) / 2);
    if (extra <= 0) return;
    SetWindowPos(label, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveBy(dialog, GetDlgItem(dialog, kIdEdit), extra);
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, std::max(0L, frame.top - extra / 2),
                 frame.right - frame.left, frame.bottom - frame.top + extra,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The caption the system's message boxes give this button, in the user's
// language; user32 exports it from Windows 2000 on, plain English otherwise.
const wchar_t* StandardButtonText(int id) {
    using GetString = LPCWSTR(WINAPI*)(UINT);
    static const auto mbGetString = win32::SystemFunction<GetString>(L"user32.dll", "MB_GetString");
    const wchar_t* text = mbGetString ? mbGetString(static_cast<UINT>(id - 1)) : nullptr;
    if (text && *text) return text;
    return id == IDOK ? L"OK" : L"Cancel";
}

class InputBox : public win32::Dialog<InputBox> {
  public:
    InputBox(const std::wstring& prompt, const std::wstring& caption, const std::wstring& def)
        : prompt_(prompt), caption_(caption), def_(def) {}

    // Out of memory while copying a text counts as cancel.
    bool Run(HWND owner, std::wstring& answer) {
        // Dialog units: prompt left, OK and Cancel right, the edit box below.
        win32::DialogTemplate dialog(
            DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 83,
            4);
        dialog.Item(win32::kStaticClass, kIdPrompt, SS_LEFT | SS_NOPREFIX, 7, 7, 190, 48);
        dialog.Item(win32::kEditClass, kIdEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 62, 246,
                    14);
        dialog.Item(win32::kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 7, 50, 14);
        dialog.Item(win32::kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 203, 25, 50, 14);
        if (RunDialog(dialog, owner) != IDOK) return false;
        answer = std::move(typed_);
        return true;
    }

  private:
    friend class win32::Dialog<InputBox>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) return OnInitDialog();
        if (message != WM_COMMAND) return FALSE;
        const WORD id = LOWORD(wParam);
        if (id == IDOK) typed_ = win32::WindowText(GetDlgItem(hwnd_, kIdEdit));
        if (id != IDOK && id != IDCANCEL) return FALSE;
        EndDialog(hwnd_, id);
        return TRUE;
    }

    BOOL OnInitDialog() {
        SetWindowTextW(hwnd_, caption_.c_str());
        SetDlgItemTextW(hwnd_, IDOK, StandardButtonText(IDOK));
        SetDlgItemTextW(hwnd_, IDCANCEL, StandardButtonText(IDCANCEL));
        SetDlgItemTextW(hwnd_, kIdPrompt, prompt_.c_str());
        SetDlgItemTextW(hwnd_, kIdEdit, def_.c_str());
        FitPrompt(hwnd_, prompt_);
        HWND edit = GetDlgItem(hwnd_, kIdEdit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return FALSE;  // focus set here
    }

    const std::wstring& prompt_;
    const std::wstring& caption_;
    const std::wstring& def_;
    std::wstring typed_;
};

}  // namespace

bool ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& caption,
                  const std::wstring& def, std::wstring& answer) {
    return InputBox(prompt, caption, def).Run(owner, answer);
}

}  // namespace kelvra
