#include "platform/win32/input_box.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/dialog_template.h"

namespace kelvra {

namespace {

constexpr WORD kIdPrompt = 100;
constexpr WORD kIdEdit = 101;

struct InputBoxState {
    const std::wstring& prompt;
    const std::wstring& caption;
    const std::wstring& def;
    std::wstring typed;
};

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

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
    HDC dc = GetDC(label);
    if (!dc) return;
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    DrawTextW(dc, prompt.c_str(), static_cast<int>(prompt.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, oldFont);
    ReleaseDC(label, dc);

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
    static const auto mbGetString = reinterpret_cast<GetString>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "MB_GetString")));
    const wchar_t* text = mbGetString ? mbGetString(static_cast<UINT>(id - 1)) : nullptr;
    if (text && *text) return text;
    return id == IDOK ? L"OK" : L"Cancel";
}

BOOL OnInitDialog(HWND dialog, InputBoxState& state) {
    SetWindowTextW(dialog, state.caption.c_str());
    SetDlgItemTextW(dialog, IDOK, StandardButtonText(IDOK));
    SetDlgItemTextW(dialog, IDCANCEL, StandardButtonText(IDCANCEL));
    SetDlgItemTextW(dialog, kIdPrompt, state.prompt.c_str());
    SetDlgItemTextW(dialog, kIdEdit, state.def.c_str());
    FitPrompt(dialog, state.prompt);
    HWND edit = GetDlgItem(dialog, kIdEdit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return FALSE;  // focus set here
}

BOOL OnCommand(HWND dialog, InputBoxState& state, WORD id) {
    if (id == IDOK) {
        state.typed = WindowText(GetDlgItem(dialog, kIdEdit));
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return OnInitDialog(dialog, *reinterpret_cast<InputBoxState*>(lParam));
        }
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!state) return FALSE;
        if (message == WM_COMMAND) return OnCommand(dialog, *state, LOWORD(wParam));
    } catch (...) {
        // Out of memory while copying a text: treat as cancel.
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& caption,
                  const std::wstring& def, std::wstring& answer) {
    // Dialog units: prompt left, OK and Cancel right, the edit box below.
    DialogTemplate dialog(
        DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 83, 4);
    dialog.Item(kStaticClass, kIdPrompt, SS_LEFT | SS_NOPREFIX, 7, 7, 190, 48);
    dialog.Item(kEditClass, kIdEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 62, 246, 14);
    dialog.Item(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 7, 50, 14);
    dialog.Item(kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 203, 25, 50, 14);

    InputBoxState state{prompt, caption, def, {}};
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner,
                                             InputBoxProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    answer = std::move(state.typed);
    return true;
}

}  // namespace kelvra
