// Kelvra.exe as an administrator's elevated run would see itself, for
// screenshots of its title, status bar and hint under Wine, which has no
// split tokens. A test program only: the shipped Kelvra.exe asks the token.
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "startup/startup.h"

namespace {

class ElevatedOs : public kelvra::Win32Os {
  public:
    uint32_t TokenElevationType() override { return kelvra::kElevationFull; }
    bool LinkedTokenInOtherSession() override { return true; }
    // Nothing is started in a normal session that does not exist here.
    kelvra::LaunchResult ShellExecuteAsDesktop(const std::string&, const std::string&) override {
        return kelvra::LaunchResult::NoShell;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ElevatedOs& os = *new ElevatedOs;
    kelvra::Win32Ui ui;
    kelvra::Program program(os, ui);
    if (kelvra::RunStartup(program) == kelvra::Dispatch::End) return 0;
    kelvra::FrmMain frmMain(program);
    if (!frmMain.Load(instance)) return 1;
    ui.SetOwner(frmMain.hwnd());
    frmMain.Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (frmMain.PreTranslate(msg)) continue;
        if (IsDialogMessageW(frmMain.hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
