#include "auxwindows/win32/frm_info.h"

#include "auxwindows/info.h"
#include "platform/win32/handles.h"
#include "platform/win32/shell_launch.h"
#include "platform/win32/window.h"
#include "program.h"

namespace kelvra {
namespace {

constexpr WORD kIdImage = 100;
constexpr WORD kIdLabel1 = 101;
constexpr WORD kIdLabel2 = 102;
constexpr WORD kIdLabel3 = 103;
constexpr WORD kIdLabel4 = 104;
constexpr WORD kIdCmdWebsite = 105;

class FrmInfo : public win32::Dialog<FrmInfo> {
  public:
    explicit FrmInfo(const InfoTexts& texts) : texts_(texts) {}

    void Run(HWND owner) {
        // Dialog units, so the layout follows the font and the DPI.
        win32::DialogTemplate dialog(
            DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 250, 104,
            6);
        dialog.Item(win32::kStaticClass, kIdImage, SS_ICON, 10, 10, 21, 20);
        dialog.Item(win32::kStaticClass, kIdLabel1, SS_LEFT | SS_NOPREFIX, 42, 12, 200, 10);
        dialog.Item(win32::kStaticClass, kIdLabel2, SS_LEFT | SS_NOPREFIX, 42, 26, 200, 10);
        dialog.Item(win32::kStaticClass, kIdLabel3, SS_LEFT | SS_NOPREFIX, 42, 46, 200, 10);
        dialog.Item(win32::kStaticClass, kIdLabel4, SS_LEFT | SS_NOPREFIX, 42, 58, 200, 10);
        dialog.Item(win32::kButtonClass, kIdCmdWebsite, BS_DEFPUSHBUTTON | WS_TABSTOP, 42, 80, 110,
                    15);
        RunDialog(dialog, owner);
    }

  private:
    friend class win32::Dialog<FrmInfo>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) return OnInitDialog();
        if (message != WM_COMMAND) return FALSE;
        const WORD id = LOWORD(wParam);
        if (id == kIdCmdWebsite && HIWORD(wParam) == BN_CLICKED) {
            // The desktop as parent: the browser must not close with this window.
            win32::StartOle();
            ShellExecuteW(GetDesktopWindow(), L"open", kWebsiteUrl, nullptr, nullptr,
                          SW_SHOWNORMAL);
            return TRUE;
        }
        if (id != IDCANCEL && id != IDOK) return FALSE;
        EndDialog(hwnd_, id);  // Esc and the close box
        return TRUE;
    }

    BOOL OnInitDialog() {
        SetWindowTextW(hwnd_, texts_.Title.c_str());
        SetDlgItemTextW(hwnd_, kIdLabel1, texts_.Label1.c_str());
        SetDlgItemTextW(hwnd_, kIdLabel2, texts_.Label2.c_str());
        SetDlgItemTextW(hwnd_, kIdLabel3, texts_.Label3.c_str());
        SetDlgItemTextW(hwnd_, kIdLabel4, texts_.Label4.c_str());
        SetDlgItemTextW(hwnd_, kIdCmdWebsite, texts_.CmdWebsite.c_str());
        // The program's name in the dialog's own font in bold; where that
        // cannot be made, the label keeps the normal font.
        LOGFONTW description = {};
        const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
        if (font && GetObjectW(font, sizeof description, &description)) {
            description.lfWeight = FW_BOLD;
            bold_.Reset(CreateFontIndirectW(&description));
        }
        if (bold_)
            SendDlgItemMessageW(hwnd_, kIdLabel1, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()),
                                FALSE);
        // The program's icon at the size the system uses for large icons.
        SendDlgItemMessageW(
            hwnd_, kIdImage, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))), 0);
        SetFocus(GetDlgItem(hwnd_, kIdCmdWebsite));
        return FALSE;
    }

    const InfoTexts& texts_;
    win32::UniqueFont bold_;  // outlives the dialog, which is gone when Run returns
};

}  // namespace

void ShowInfoWindow(HWND owner, Program& program) {
    try {
        const InfoTexts texts = ComputeInfoTexts(program, ProgramCopyright(program.os));
        FrmInfo(texts).Run(owner);
    } catch (...) {
        // Out of memory while building the texts: there is nothing to show.
    }
}

}  // namespace kelvra
