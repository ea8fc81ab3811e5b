#include "auxwindows/win32/frm_info.h"

#include "auxwindows/info.h"
#include "platform/win32/dialog_template.h"
#include "program.h"

namespace kelvra {
namespace {

constexpr WORD kIdImage = 100;
constexpr WORD kIdLabel1 = 101;
constexpr WORD kIdLabel2 = 102;
constexpr WORD kIdLabel3 = 103;
constexpr WORD kIdLabel4 = 104;
constexpr WORD kIdCmdWebsite = 105;

struct InfoState {
    const InfoTexts& texts;
    HFONT bold = nullptr;
};

// The dialog's own font in bold, for the program's name; null when it
// cannot be made (the label then keeps the normal font).
HFONT BoldFontOf(HWND dialog) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    if (!font || !GetObjectW(font, sizeof description, &description)) return nullptr;
    description.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&description);
}

BOOL OnInitDialog(HWND dialog, InfoState& state) {
    const InfoTexts& texts = state.texts;
    SetWindowTextW(dialog, texts.Title.c_str());
    SetDlgItemTextW(dialog, kIdLabel1, texts.Label1.c_str());
    SetDlgItemTextW(dialog, kIdLabel2, texts.Label2.c_str());
    SetDlgItemTextW(dialog, kIdLabel3, texts.Label3.c_str());
    SetDlgItemTextW(dialog, kIdLabel4, texts.Label4.c_str());
    SetDlgItemTextW(dialog, kIdCmdWebsite, texts.CmdWebsite.c_str());
    state.bold = BoldFontOf(dialog);
    if (state.bold)
        SendDlgItemMessageW(dialog, kIdLabel1, WM_SETFONT, reinterpret_cast<WPARAM>(state.bold),
                            FALSE);
    // The program's icon at the size the system uses for large icons.
    SendDlgItemMessageW(
        dialog, kIdImage, STM_SETICON,
        reinterpret_cast<WPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))), 0);
    SetFocus(GetDlgItem(dialog, kIdCmdWebsite));
    return FALSE;
}

void OpenWebsite() {
    // The desktop as parent: the browser must not close with this window.
    ShellExecuteW(GetDesktopWindow(), L"open", kWebsiteUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK InfoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return OnInitDialog(dialog, *reinterpret_cast<InfoState*>(lParam));
        }
        if (message == WM_COMMAND) {
            const WORD id = LOWORD(wParam);
            if (id == kIdCmdWebsite && HIWORD(wParam) == BN_CLICKED) {
                OpenWebsite();
                return TRUE;
            }
            // Esc and the close box.
            if (id == IDCANCEL || id == IDOK) {
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

void ShowInfoWindow(HWND owner, Program& program) {
    try {
        const InfoTexts texts = ComputeInfoTexts(program, ProgramCopyright(program.os));
        // Dialog units, so the layout follows the font and the DPI.
        DialogTemplate dialog(
            DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 250, 104,
            6);
        dialog.Item(kStaticClass, kIdImage, SS_ICON, 10, 10, 21, 20);
        dialog.Item(kStaticClass, kIdLabel1, SS_LEFT | SS_NOPREFIX, 42, 12, 200, 10);
        dialog.Item(kStaticClass, kIdLabel2, SS_LEFT | SS_NOPREFIX, 42, 26, 200, 10);
        dialog.Item(kStaticClass, kIdLabel3, SS_LEFT | SS_NOPREFIX, 42, 46, 200, 10);
        dialog.Item(kStaticClass, kIdLabel4, SS_LEFT | SS_NOPREFIX, 42, 58, 200, 10);
        dialog.Item(kButtonClass, kIdCmdWebsite, BS_DEFPUSHBUTTON | WS_TABSTOP, 42, 80, 110, 15);
        InfoState state{texts};
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, InfoProc,
                                reinterpret_cast<LPARAM>(&state));
        if (state.bold) DeleteObject(state.bold);
    } catch (...) {
        // Out of memory while building the texts: there is nothing to show.
    }
}

}  // namespace kelvra
