// What each call the idle change check could make costs on the real system:
// CPU time in this process and, given its Linux pid, in the Wine server, per
// call, with four subst drives defined as the idle measurement has them. Then
// the same for the whole checks. Not a test: it passes or fails nothing.
//
//   poll_timing [calls per candidate] [wineserver unix pid]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/win32/cpu_times.h"
#include "drives/scan.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "startup/settings.h"
#include "wine/e2e_support.h"

namespace {

using kelvra::bench::FileTimeMs;
using kelvra::bench::LinuxCpuMs;

using namespace kelvra::e2e;

double OwnCpuMs() {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return -1;
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// Runs `body` `runs` times; prints microseconds per run in this process and
// in the server. `calls` is how many system calls one run makes.
void Time(const char* name, int runs, int calls, int serverPid, const std::function<void()>& body) {
    body();  // warm up
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    const double own0 = OwnCpuMs(), server0 = LinuxCpuMs(serverPid);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < runs; ++i) body();
    QueryPerformanceCounter(&t1);
    const double own = OwnCpuMs() - own0;
    const double server = serverPid > 0 ? LinuxCpuMs(serverPid) - server0 : -1;
    const double wall =
        static_cast<double>(t1.QuadPart - t0.QuadPart) * 1e3 / static_cast<double>(f.QuadPart);
    std::printf("%-44s %3d %9.1f %9.1f %9.1f\n", name, calls, wall * 1e3 / runs, own * 1e3 / runs,
                server >= 0 ? server * 1e3 / runs : -1.0);
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int serverPid = argc > 2 ? std::atoi(argv[2]) : 0;

    // Four subst drives onto folders of a scratch folder, as in the idle run.
    const std::string scratch = MakeScratchFolder("poll");
    std::vector<std::unique_ptr<SubstDrive>> substs;
    std::vector<std::string> substRoots;
    for (int i = 0; i < 4; ++i) {
        const char letter = FreeLetter();
        const std::string folder = scratch + "s" + std::to_string(i);
        CreateDirectoryA(folder.c_str(), nullptr);
        if (!letter) break;
        substs.push_back(std::make_unique<SubstDrive>(letter, folder));
        if (substs.back()->ok()) substRoots.push_back(std::string(1, letter) + ":\\");
    }

    char list[255];
    const DWORD n = GetLogicalDriveStringsA(sizeof(list), list);
    std::vector<std::string> roots;
    for (DWORD i = 0; i < n && list[i];) {
        roots.emplace_back(list + i);
        i += static_cast<DWORD>(roots.back().size()) + 1;
    }
    std::printf("drives:");
    for (const auto& r : roots) std::printf(" %s(%u)", r.c_str(), GetDriveTypeA(r.c_str()));
    std::printf("; %zu subst drives defined; %d runs each\n", substRoots.size(), runs);
    std::printf("%-44s %3s %9s %9s %9s\n", "us per run", "n", "wall", "process", "server");
    const int present = static_cast<int>(roots.size());

    Time("GetLogicalDrives", runs, 1, serverPid, [] { GetLogicalDrives(); });
    Time("GetLogicalDriveStrings", runs, 1, serverPid, [&] {
        char buffer[255];
        GetLogicalDriveStringsA(sizeof(buffer), buffer);
    });
    Time("GetDriveType, each present drive", runs, present, serverPid, [&] {
        for (const auto& r : roots) GetDriveTypeA(r.c_str());
    });
    Time("QueryDosDevice, each present drive", runs, present, serverPid, [&] {
        char answer[260];
        for (const auto& r : roots) QueryDosDeviceA(r.substr(0, 2).c_str(), answer, 260);
    });
    Time("QueryDosDevice, each letter", runs, 26, serverPid, [&] {
        char answer[260];
        char device[] = "A:";
        for (char c = 'A'; c <= 'Z'; ++c) {
            device[0] = c;
            QueryDosDeviceA(device, answer, 260);
        }
    });
    Time("WNetGetConnection, each present drive", runs, present, serverPid, [&] {
        char remote[1024];
        for (const auto& r : roots) {
            DWORD size = sizeof remote;
            WNetGetConnectionA(r.substr(0, 2).c_str(), remote, &size);
        }
    });
    Time("GetLongPathName, each subst folder", runs, static_cast<int>(substs.size()), serverPid,
         [&] {
             char out[255];
             for (int i = 0; i < static_cast<int>(substs.size()); ++i) {
                 const std::string folder = scratch + "s" + std::to_string(i);
                 GetLongPathNameA(folder.c_str(), out, sizeof out);
             }
         });

    Time("GetFileAttributes, each subst folder", runs, static_cast<int>(substs.size()), serverPid,
         [&] {
             for (int i = 0; i < static_cast<int>(substs.size()); ++i)
                 GetFileAttributesA((scratch + "s" + std::to_string(i)).c_str());
         });
    Time("SetErrorMode, set and back", runs, 2, serverPid,
         [] { SetErrorMode(SetErrorMode(SEM_FAILCRITICALERRORS)); });
    // A window's timer waking an empty handler: what every tick costs before
    // it does anything.
    {
        HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        const int ticks = std::max(1, runs / 10);
        const double own0 = OwnCpuMs(), server0 = LinuxCpuMs(serverPid);
        SetTimer(window, 1, 10, nullptr);
        MSG msg;
        for (int seen = 0; seen < ticks && GetMessageA(&msg, nullptr, 0, 0) > 0;)
            if (msg.message == WM_TIMER) ++seen;
        KillTimer(window, 1);
        std::printf("%-44s %3d %9s %9.1f %9.1f\n", "timer tick (10 ms timer, empty handler)", 1, "",
                    (OwnCpuMs() - own0) * 1e3 / ticks,
                    serverPid > 0 ? (LinuxCpuMs(serverPid) - server0) * 1e3 / ticks : -1.0);
        DestroyWindow(window);
    }

    kelvra::Win32Os os;
    kelvra::sim::ScriptedUi ui;
    kelvra::Program program(os, ui);
    program.startup.IsNT = true;
    // A settings file as a user with a few drives has one: the full check
    // reads it to see changes another program made.
    program.startup.IniFilePath = scratch + "kelvra.ini";
    std::string ini = "[USER=TESTER]\r\n";
    for (char c = 'K'; c <= 'P'; ++c)
        ini += std::string("SubstPath_") + c + "=C:\\Projects\\Folder " + c + "\r\n" +
               "SubstPathLabel_" + c + "=Label " + c + "\r\n";
    WriteBytes(program.startup.IniFilePath, ini + std::string(1000, ';') + "\r\n");
    kelvra::RefreshAll(program);
    Time("SettingsFileChanged, 1.4 KB file", runs, 1, serverPid,
         [&] { kelvra::SettingsFileChanged(program); });
    kelvra::NetworkCheck(program);
    Time("NetworkCheck, nothing changed", runs, 0, serverPid,
         [&] { kelvra::NetworkCheck(program); });
    Time("PollCheck, nothing changed (mean of a tick)", runs, 0, serverPid,
         [&] { kelvra::PollCheck(program); });

    substs.clear();
    RemoveTree(scratch);
    return 0;
}
