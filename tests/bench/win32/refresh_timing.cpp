// Wall time of drive scans and saves on the real system. Not a test: it
// passes or fails nothing.
//
//   refresh_timing [scans]
//       Full drive scans beside the bare calls no scan can do without (the
//       drive list, one type query per present drive, one DOS-device query
//       per letter, one pass over the remembered connections, one read of
//       the settings file), measured in the same run. Prints both and their
//       ratio, then the time of one list display (with the default settings,
//       drive labels on) computed from the scanned table without a window.
//   refresh_timing save [saves]
//       A command's save after a scan: each save flips one setting, so every
//       one writes the file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drives/scan.h"
#include "mainwindow/main_window.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "startup/permanent.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The irreducible part of a scan, straight against the Windows API.
void BareCalls(const std::string& ini) {
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
    HKEY network = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Network", 0, KEY_READ, &network) == ERROR_SUCCESS) {
        char name[256];
        DWORD size = sizeof(name);
        for (DWORD i = 0; RegEnumKeyExA(network, i, name, &size, nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
             ++i)
            size = sizeof(name);
        RegCloseKey(network);
    }
    HANDLE file = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char bytes[4096];
        DWORD got = 0;
        ReadFile(file, bytes, sizeof(bytes), &got, nullptr);
        CloseHandle(file);
    }
}

// The Run value as it is, so that the timing can put it back.
struct RunValue {
    RunValue() {
        DWORD size = sizeof(text);
        present = RegGetValueA(HKEY_CURRENT_USER, kelvra::kRunKey, kelvra::kRunValue, RRF_RT_REG_SZ,
                               nullptr, text, &size) == ERROR_SUCCESS;
    }
    ~RunValue() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kelvra::kRunKey, 0, KEY_SET_VALUE, &key) != 0) return;
        if (present)
            RegSetValueExA(key, kelvra::kRunValue, 0, REG_SZ, reinterpret_cast<BYTE*>(text),
                           static_cast<DWORD>(std::strlen(text) + 1));
        else
            RegDeleteValueA(key, kelvra::kRunValue);
        RegCloseKey(key);
    }
    bool present = false;
    char text[2048] = {};
};

// Saves as a command makes them once it has changed something, and the
// parts of a save: the autostart entry, the replace of the file.
int TimeSaves(kelvra::Program& program, int saves) {
    const RunValue before;
    kelvra::RefreshAll(program);
    // As for a user with permanent drives: the Run value is wanted.
    program.settings.PermAutostart = true;
    kelvra::SaveSettings(program);  // warm-up; the file now holds every key
    LARGE_INTEGER t0, t1, t2, t3;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < saves; ++i) {
        program.settings.GridLines = !program.settings.GridLines;
        kelvra::SaveSettings(program);
    }
    QueryPerformanceCounter(&t1);
    for (int i = 0; i < saves; ++i) kelvra::UpdateAutostartEntry(program);
    QueryPerformanceCounter(&t2);
    const std::string contents = program.startup.Stored.Serialize();
    for (int i = 0; i < saves; ++i)
        program.os.ReplaceFileContents(program.startup.IniFilePath, contents);
    QueryPerformanceCounter(&t3);
    std::printf("program on a local disk (autostart entry kept up): %d\n",
                program.startup.Local ? 1 : 0);
    const struct {
        const char* what;
        double seconds;
    } parts[] = {{"SaveSettings", Seconds(t0, t1)},
                 {"UpdateAutostartEntry", Seconds(t1, t2)},
                 {"ReplaceFileContents", Seconds(t2, t3)}};
    for (const auto& part : parts)
        std::printf("%s x %d: %.3f s (%.1f us each)\n", part.what, saves, part.seconds,
                    part.seconds * 1e6 / saves);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool save = argc > 1 && std::string(argv[1]) == "save";
    const char* count = argc > (save ? 2 : 1) ? argv[save ? 2 : 1] : nullptr;
    const int runs = count ? std::atoi(count) : (save ? 200 : 1000);
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

    if (save) {
        const int rc = TimeSaves(program, runs);
        DeleteFileA(ini.c_str());
        RemoveDirectoryA(folder.c_str());
        return rc;
    }

    kelvra::RefreshAll(program);  // warm up both paths once
    BareCalls(ini);

    // Scans and bare calls take turns in rounds of ten, so that both see
    // the same load on a shared machine.
    double scan = 0;
    double bare = 0;
    for (int done = 0; done < runs; done += 10) {
        const int round = std::min(10, runs - done);
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        for (int i = 0; i < round; ++i) kelvra::RefreshAll(program);
        QueryPerformanceCounter(&t1);
        for (int i = 0; i < round; ++i) BareCalls(ini);
        QueryPerformanceCounter(&t2);
        scan += Seconds(t0, t1);
        bare += Seconds(t1, t2);
    }
    LARGE_INTEGER t2;
    QueryPerformanceCounter(&t2);

    // For reading the figures: the cheap poll check, and what a scan once
    // did letter by letter (a registry open of the letter's remembered
    // connection and a connection query, for all 26 letters).
    LARGE_INTEGER t3, t4;
    for (int i = 0; i < runs; ++i) kelvra::NetworkCheck(program);
    QueryPerformanceCounter(&t3);
    char remote[512];
    for (int i = 0; i < runs; ++i) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            HKEY key = nullptr;
            const std::string name = std::string("Network\\") + letter;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
                RegCloseKey(key);
            const char local[] = {letter, ':', '\0'};
            DWORD size = sizeof(remote);
            WNetGetConnectionA(local, remote, &size);
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

    const double check = Seconds(t2, t3);
    const double perLetter = Seconds(t3, t4);
    int present = 0;
    for (kelvra::DriveIndex i = 1; i <= kelvra::kDriveCount; ++i)
        if (program.drives.main[i].Type != "FREE") ++present;
    std::printf("rows not FREE: %d\n", present);
    std::printf("RefreshAll x %d: %.3f s (%.1f us each)\n", runs, scan, scan * 1e6 / runs);
    std::printf("bare calls x %d: %.3f s (%.1f us each)\n", runs, bare, bare * 1e6 / runs);
    std::printf("ratio: %.2f\n", bare > 0 ? scan / bare : 0.0);
    std::printf("NetworkCheck x %d: %.3f s (%.1f us each)\n", runs, check, check * 1e6 / runs);
    std::printf("26 connection-key opens and queries x %d: %.3f s (%.1f us each)\n", runs,
                perLetter, perLetter * 1e6 / runs);
    const double display = Seconds(t5, t6);
    std::printf("Display x %d (labels %s): %.3f s (%.1f us each)\n", runs,
                program.settings.ShowDrivelabels ? "on" : "off", display, display * 1e6 / runs);

    DeleteFileA(ini.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
