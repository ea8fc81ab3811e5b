// The configuration window's logic on a simulated machine, with a fake main
// window and a fake configuration window that record what was applied.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/config.h"
#include "sim/fake_main_view.h"
#include "test_machine.h"

namespace kelvra::test {

class FakeConfigView : public ConfigView {
  public:
    ConfigTexts texts;
    int textsCalls = 0;
    LanguageList languages;
    CheckStates states{};
    int statesCalls = 0;
    std::vector<int> tabs;  // every ShowTab
    // Run inside ShowCheckStates, as a window whose controls reported the
    // values set in code as clicks would.
    std::function<void()> whileShowingStates;

    void ShowTexts(const ConfigTexts& t) override {
        texts = t;
        ++textsCalls;
    }
    void ShowLanguages(const LanguageList& list) override { languages = list; }
    void ShowCheckStates(const CheckStates& s) override {
        states = s;
        ++statesCalls;
        if (whileShowingStates) whileShowingStates();
    }
    void ShowTab(int tab) override { tabs.push_back(tab); }

    const CheckState& operator[](CheckBox box) const { return states[static_cast<int>(box)]; }
};

// A started NT machine whose program lies on a fixed local disk, with the
// main window open.
struct ConfigMachine {
    ConfigMachine() {
        m.Started();
        m.program.startup.Local = true;
        m.program.startup.ApplicationVersion = "1.0.1";
        m.program.view = &mainView;
    }
    Program& program() { return m.program; }
    Settings& settings() { return m.program.settings; }

    TestMachine m;
    sim::FakeMainView mainView;
    FakeConfigView view;
    ConfigForm form{m.program, view};
};

}  // namespace kelvra::test
