// Wall time of full drive scans on the real system, beside the bare calls no
// scan can do without (the drive list, one type query per present drive, one
// DOS-device query per letter), measured in the same run. Prints both and
// their ratio, then the time of one list display (with the default settings,
// drive labels on) computed from the scanned table without a window. Not a
// test: it passes or fails nothing.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "drives/scan.h"
#include "mainwindow/main_window.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "sim/scripted_ui.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The irreducible part of a scan, straight against the Windows API.
void BareCalls() {
    char list[255];
    const DWORD n = GetLogicalDriveStringsA(sizeof(list), list);
    for (DWORD i = 0; i < n && i < sizeof(list) && list[i] != '\0';) {
        GetDriveTypeA(list + i);
        while (i < n && list[i] != '\0') ++i;
        ++i;
    }
    char answer[260];
    char device[] = "A:";
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        device[0] = letter;
        QueryDosDeviceA(device, answer, sizeof(answer));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    kelvra::Win32Os os;
    kelvra::sim::ScriptedUi ui;
    kelvra::Program program(os, ui);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "kelvra-timing";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string ini = folder + "\\kelvra.ini";
    // One stored entry, so the settings-file reads find a real file.
    WritePrivateProfileStringA("USER=TIMING", "SubstPath_Q", "C:\\windows", ini.c_str());
    char module[MAX_PATH];
    const std::string exe(module, GetModuleFileNameA(nullptr, module, MAX_PATH));
    program.startup.ApplicationPath = exe.substr(0, exe.rfind('\\') + 1);
    program.startup.IniFilePath = ini;
    program.startup.User = "TIMING";
    program.startup.IsNT = true;
    program.startup.NetworkKeyPrefix = "Network\\";

    kelvra::RefreshAll(program);  // warm up both paths once
    BareCalls();

    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < runs; ++i) kelvra::RefreshAll(program);
    QueryPerformanceCounter(&t1);
    for (int i = 0; i < runs; ++i) BareCalls();
    QueryPerformanceCounter(&t2);

    // For reading the figures: the cheap poll check, and the settings-file
    // reads that a scan makes for every letter (existence test, two keys).
    LARGE_INTEGER t3, t4;
    for (int i = 0; i < runs; ++i) kelvra::NetworkCheck(program);
    QueryPerformanceCounter(&t3);
    char value[1024];
    for (int i = 0; i < runs; ++i) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const std::string key(1, letter);
            GetFileAttributesA(ini.c_str());
            GetPrivateProfileStringA("USER=TIMING", ("SubstPath_" + key).c_str(), "", value,
                                     sizeof(value), ini.c_str());
            GetPrivateProfileStringA("USER=TIMING", ("SubstPathLabel_" + key).c_str(), "", value,
                                     sizeof(value), ini.c_str());
        }
    }
    QueryPerformanceCounter(&t4);

    // One scan fills the table, then the rows are computed again and again,
    // as every refresh and every change of the device-name mode does.
    kelvra::RefreshAll(program);
    program.view = nullptr;
    kelvra::Display(program);  // warm-up
    LARGE_INTEGER t5, t6;
    QueryPerformanceCounter(&t5);
    for (int i = 0; i < runs; ++i) kelvra::Display(program);
    QueryPerformanceCounter(&t6);

    const double scan = Seconds(t0, t1);
    const double bare = Seconds(t1, t2);
    const double check = Seconds(t2, t3);
    const double iniReads = Seconds(t3, t4);
    int present = 0;
    for (kelvra::DriveIndex i = 1; i <= kelvra::kDriveCount; ++i)
        if (program.drives.main[i].Type != "FREE") ++present;
    std::printf("rows not FREE: %d\n", present);
    std::printf("RefreshAll x %d: %.3f s (%.1f us each)\n", runs, scan, scan * 1e6 / runs);
    std::printf("bare calls x %d: %.3f s (%.1f us each)\n", runs, bare, bare * 1e6 / runs);
    std::printf("ratio: %.2f\n", bare > 0 ? scan / bare : 0.0);
    std::printf("NetworkCheck x %d: %.3f s (%.1f us each)\n", runs, check, check * 1e6 / runs);
    std::printf("settings-file reads of a scan x %d: %.3f s (%.1f us each)\n", runs, iniReads,
                iniReads * 1e6 / runs);
    const double display = Seconds(t5, t6);
    std::printf("Display x %d (labels %s): %.3f s (%.1f us each)\n", runs,
                program.settings.ShowDrivelabels ? "on" : "off", display, display * 1e6 / runs);

    DeleteFileA(ini.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
