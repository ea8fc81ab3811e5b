// Operating-system calls and time per full drive scan, per network check, per
// list display and per save, on a simulated machine with six present drives
// and three stored entries.
#include <benchmark/benchmark.h>

#include "drives/scan.h"
#include "mainwindow/main_window.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "sim/simulated_windows.h"
#include "startup/settings.h"

namespace kelvra {
namespace {

class Machine {
  public:
    Machine() : program(sim, ui) {
        const std::string ini =
            "C:\\Documents and Settings\\Tester\\Application Data\\Brannock\\Kelvra\\kelvra.ini";
        sim.AddFolder("C:\\Documents and Settings\\Tester\\Application Data\\Brannock\\Kelvra");
        program.startup.ApplicationPath = "C:\\Program Files\\Kelvra\\";
        program.startup.IniFilePath = ini;
        program.startup.User = "Tester";
        program.startup.IsNT = true;
        program.startup.NetworkKeyPrefix = "Network\\";

        // Present: C: (fixed), D: (subst), E: (CD-ROM), U: (USB stick),
        // N: (persistent network drive), V: (VirtualBox share).
        sim.AddFolder("C:\\Data");
        sim.AddDrive('E', kDriveCdrom, "DISC", "CDFS");
        sim.AddDrive('U', kDriveRemovable, "STICK", "FAT32");
        sim.AddShare("\\\\srv\\share");
        sim.AddShare("\\\\vboxsvr\\shared", "\\Device\\VBoxMiniRdr");
        const std::string data = "C:\\Data";
        sim.DefineDosDevice(0, "D:", &data);
        Connect('N', "\\\\srv\\share", kConnectUpdateProfile);
        Connect('V', "\\\\vboxsvr\\shared", 0);

        // Stored: the permanent D:, an unmapped F:, a deactivated network K:.
        Store("D", data);
        Store("F", data);
        Store("K", "!\\\\srv\\old");
        sim.ResetCalls();
    }

    sim::SimulatedWindows sim;
    sim::ScriptedUi ui;
    Program program;

  private:
    void Connect(char letter, const std::string& remote, uint32_t flags) {
        NetResource resource;
        resource.localName = std::string(1, letter) + ":";
        resource.remoteName = remote;
        sim.WNetAddConnection2(resource, nullptr, nullptr, flags);
    }
    void Store(const std::string& letter, const std::string& value) {
        sim.WritePrivateProfileString("USER=TESTER", "SubstPath_" + letter, &value,
                                      program.startup.IniFilePath);
    }
};

void Report(benchmark::State& state, const sim::SimulatedWindows& sim) {
    const auto perRun = benchmark::Counter::kAvgIterations;
    state.counters["os_calls"] = benchmark::Counter(sim.TotalCalls(), perRun);
    for (const char* op : {"GetLogicalDriveStrings",
                           "GetDriveType",
                           "QueryDosDevice",
                           "GetLongPathName",
                           "WNetGetConnection",
                           "GetFileAttributes",
                           "GetPrivateProfileString",
                           "ReadFileStatus",
                           "RegOpenKeyEx",
                           "RegEnumKeyEx",
                           "RegQueryValueEx",
                           "RegCloseKey",
                           "CharUpperBuff",
                           "GetVolumeInformation",
                           "SetErrorMode",
                           "ReplaceFileContents",
                           "RegCreateKeyEx",
                           "RegSetValueEx",
                           "RegDeleteValue",
                           "RegFlushKey"}) {
        if (sim.Calls(op) > 0) state.counters[op] = benchmark::Counter(sim.Calls(op), perRun);
    }
}

void BM_RefreshAll(benchmark::State& state) {
    Machine m;
    for (auto _ : state) RefreshAll(m.program);
    Report(state, m.sim);
}
BENCHMARK(BM_RefreshAll);

void BM_NetworkCheck(benchmark::State& state) {
    Machine m;
    for (auto _ : state) benchmark::DoNotOptimize(NetworkCheck(m.program));
    Report(state, m.sim);
}
BENCHMARK(BM_NetworkCheck);

// The poll's tick with nothing changing: the drive list alone, and the full
// pass every fifth tick.
void BM_PollTick(benchmark::State& state) {
    Machine m;
    NetworkCheck(m.program);
    m.sim.ResetCalls();
    for (auto _ : state) benchmark::DoNotOptimize(PollCheck(m.program));
    Report(state, m.sim);
}
BENCHMARK(BM_PollTick);

// The rows computed from a scanned table with the default settings (drive
// labels on), without a window.
void BM_Display(benchmark::State& state) {
    Machine m;
    RefreshAll(m.program);
    m.sim.ResetCalls();
    for (auto _ : state) Display(m.program);
    Report(state, m.sim);
}
BENCHMARK(BM_Display);

// A command's save after a scan: each one flips a setting, so each writes
// the file; the program is on a local disk, so the autostart entry is kept.
void BM_SaveSettings(benchmark::State& state) {
    Machine m;
    RefreshAll(m.program);
    SaveSettings(m.program);
    m.sim.ResetCalls();
    for (auto _ : state) {
        m.program.settings.GridLines = !m.program.settings.GridLines;
        SaveSettings(m.program);
    }
    Report(state, m.sim);
}
BENCHMARK(BM_SaveSettings);

}  // namespace
}  // namespace kelvra

BENCHMARK_MAIN();
