#include "platform/win32/frm_hint.h"

#include "platform/win32/dialog_template.h"

namespace kelvra {
namespace {

constexpr WORD kIdImage = 100;
constexpr WORD kIdText1 = 101;
constexpr WORD kIdChkHint = 102;

struct HintState {
    const std::wstring& caption;
    const std::wstring& text;
    const std::wstring& check;
    const std::wstring& ok;
    bool ticked = false;
};

BOOL OnInitDialog(HWND dialog, HintState& state) {
    SetWindowTextW(dialog, state.caption.c_str());
    SetDlgItemTextW(dialog, kIdText1, state.text.c_str());
    SetDlgItemTextW(dialog, kIdChkHint, state.check.c_str());
    SetDlgItemTextW(dialog, IDOK, state.ok.c_str());
    CheckDlgButton(dialog, kIdChkHint, BST_UNCHECKED);
    // The decorative image: the system's information symbol.
    SendDlgItemMessageW(dialog, kIdImage, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32516))), 0);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
}

INT_PTR CALLBACK HintProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return OnInitDialog(dialog, *reinterpret_cast<HintState*>(lParam));
        }
        auto* state = reinterpret_cast<HintState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!state) return FALSE;
        if (message == WM_COMMAND) {
            const WORD id = LOWORD(wParam);
            // OK, Esc and the close box all close the window; the box's
            // state counts in every case.
            if (id == IDOK || id == IDCANCEL) {
                state->ticked = IsDlgButtonChecked(dialog, kIdChkHint) == BST_CHECKED;
                EndDialog(dialog, id);
                return TRUE;
            }
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool ShowHintWindow(HWND owner, const std::wstring& caption, const std::wstring& text,
                    const std::wstring& checkCaption, const std::wstring& okCaption) {
    DialogTemplate dialog(
        DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 160, 4);
    dialog.Item(kStaticClass, kIdImage, SS_ICON, 9, 9, 21, 20);
    dialog.Item(kEditClass, kIdText1,
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER, 38, 7, 255,
                122);
    dialog.Item(kButtonClass, kIdChkHint, BS_AUTOCHECKBOX | WS_TABSTOP, 38, 139, 180, 12);
    dialog.Item(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 233, 138, 60, 15);
    HintState state{caption, text, checkCaption, okCaption};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, HintProc,
                            reinterpret_cast<LPARAM>(&state));
    return state.ticked;
}

}  // namespace kelvra
