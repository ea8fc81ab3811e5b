// A simulated machine with a program on it, for the native tests.
#pragma once

#include "program.h"
#include "sim/scripted_ui.h"
#include "sim/simulated_windows.h"

namespace kelvra::test {

struct TestMachine {
    static constexpr const char* kProgramFolder = "C:\\Program Files\\Kelvra\\";
    static constexpr const char* kAppData =
        "C:\\Documents and Settings\\Tester\\Application Data\\";
    static constexpr const char* kUserIni =
        "C:\\Documents and Settings\\Tester\\Application Data\\Brannock\\Kelvra\\kelvra.ini";

    TestMachine() : program(sim, ui) {}

    // The start-up state of an NT machine with the per-user settings file,
    // without running the start-up procedure.
    Program& Started() {
        StartupState& s = program.startup;
        s.ApplicationPath = kProgramFolder;
        s.AppDataPath = kAppData;
        s.IniFilePath = kUserIni;
        s.User = "Tester";
        s.IsNT = true;
        s.NetworkKeyPrefix = "Network\\";
        s.HintCount = 2;
        sim.AddFolder("C:\\Documents and Settings\\Tester\\Application Data\\Brannock\\Kelvra");
        return program;
    }

    sim::SimulatedWindows sim;
    sim::ScriptedUi ui;
    Program program;
};

}  // namespace kelvra::test
