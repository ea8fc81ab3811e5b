// A simulated machine with a program on it, for the native tests.
#pragma once

#include <string>
#include <vector>

#include "mainwindow/ui.h"
#include "program.h"
#include "sim/simulated_windows.h"

namespace kelvra::test {

// Records message boxes and answers every question with `answer`.
class RecordingUi : public Ui {
  public:
    struct Box {
        std::wstring text;
        std::wstring caption;
        unsigned style;
    };
    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned style) override {
        boxes.push_back(Box{text, caption, style});
        return answer;
    }
    bool InputBox(const std::wstring&, const std::wstring&, const std::wstring&,
                  std::wstring&) override {
        return false;
    }
    std::string BrowseForFolder(const std::wstring&) override { return {}; }

    std::vector<Box> boxes;
    int answer = mb::kIdOk;
};

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
    RecordingUi ui;
    Program program;
};

}  // namespace kelvra::test
