#include "platform/win32/frm_hint.h"

#include "platform/win32/window.h"

namespace kelvra {
namespace {

constexpr WORD kIdImage = 100;
constexpr WORD kIdText1 = 101;
constexpr WORD kIdChkHint = 102;

class FrmHint : public win32::Dialog<FrmHint> {
  public:
    FrmHint(const std::wstring& caption, const std::wstring& text, const std::wstring& check,
            const std::wstring& ok)
        : caption_(caption), text_(text), check_(check), ok_(ok) {}

    bool Run(HWND owner) {
        win32::DialogTemplate dialog(
            DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 160,
            4);
        dialog.Item(win32::kStaticClass, kIdImage, SS_ICON, 9, 9, 21, 20);
        dialog.Item(win32::kEditClass, kIdText1,
                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER, 38, 7,
                    255, 122);
        dialog.Item(win32::kButtonClass, kIdChkHint, BS_AUTOCHECKBOX | WS_TABSTOP, 38, 139, 180,
                    12);
        dialog.Item(win32::kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 233, 138, 60, 15);
        RunDialog(dialog, owner);
        return ticked_;
    }

  private:
    friend class win32::Dialog<FrmHint>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) return OnInitDialog();
        // OK, Esc and the close box all close the window; the box's state
        // counts in every case.
        const WORD id = LOWORD(wParam);
        if (message != WM_COMMAND || (id != IDOK && id != IDCANCEL)) return FALSE;
        ticked_ = IsDlgButtonChecked(hwnd_, kIdChkHint) == BST_CHECKED;
        EndDialog(hwnd_, id);
        return TRUE;
    }

    BOOL OnInitDialog() {
        SetWindowTextW(hwnd_, caption_.c_str());
        SetDlgItemTextW(hwnd_, kIdText1, text_.c_str());
        SetDlgItemTextW(hwnd_, kIdChkHint, check_.c_str());
        SetDlgItemTextW(hwnd_, IDOK, ok_.c_str());
        CheckDlgButton(hwnd_, kIdChkHint, BST_UNCHECKED);
        // The decorative image: the system's information symbol.
        SendDlgItemMessageW(hwnd_, kIdImage, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32516))),
                            0);
        SetFocus(GetDlgItem(hwnd_, IDOK));
        return FALSE;
    }

    const std::wstring& caption_;
    const std::wstring& text_;
    const std::wstring& check_;
    const std::wstring& ok_;
    bool ticked_ = false;
};

}  // namespace

bool ShowHintWindow(HWND owner, const std::wstring& caption, const std::wstring& text,
                    const std::wstring& checkCaption, const std::wstring& okCaption) {
    return FrmHint(caption, text, checkCaption, okCaption).Run(owner);
}

}  // namespace kelvra
