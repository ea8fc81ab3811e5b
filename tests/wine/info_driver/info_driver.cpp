// Shows the info window on its own, the way Kelvra opens it, for the
// end-to-end test: the program folder and version are this file's, the
// language is the one named on the command line.
#include "auxwindows/win32/frm_info.h"
#include "language/language.h"
#include "platform/win32/win32_os.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "startup/startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace kelvra;
    Win32Os os;
    sim::ScriptedUi ui;
    Program program(os, ui);
    const std::string exe = os.ModuleFileName();
    program.startup.ApplicationPath = exe.substr(0, exe.rfind('\\') + 1);
    FileVersion version;
    if (os.GetFileVersion(exe, version)) program.startup.ApplicationVersion = VersionText(version);
    program.settings.Language = os.CommandLineArguments();
    LoadLanguage(program);
    ShowInfoWindow(nullptr, program);
    return 0;
}
