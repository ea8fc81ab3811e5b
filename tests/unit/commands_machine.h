// A machine for the drive-command tests: program on C:, a main view, two
// shares, a folder with a long name, scanned once.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drives/scan.h"
#include "drives_machine.h"
#include "language/messages.h"
#include "mainwindow/commands.h"
#include "sim/fake_main_view.h"

namespace kelvra::test {

struct CommandMachine : TestMachine {
    static constexpr const char* kFolder = "C:\\Data\\Long Folder";
    static constexpr const char* kShare = "\\\\srv\\share";
    static constexpr const char* kDesktop = "C:\\Documents and Settings\\Tester\\Desktop\\";

    // local = false runs the program from a share, so subst drives stay temporary.
    explicit CommandMachine(bool local = true) {
        Started().view = &view;
        sim.AddFolder(kFolder);
        sim.AddFolder("C:\\Other");
        sim.AddShare(kShare);
        sim.AddShare("\\\\srv\\other");
        if (!local) program.startup.ApplicationPath = "\\\\srv\\share\\Kelvra\\";
    }
    Program& Scan() {
        RefreshAll(program);
        return program;
    }
    DriveRecord& Row(char letter) { return program.drives.main[DriveIndexOf(letter)]; }
    void Select(char letter) { view.selected = DriveIndexOf(letter); }
    // A settings-file value; "-" when the key is missing.
    std::string Ini(const std::string& key) {
        std::string out;
        sim.GetPrivateProfileString("USER=TESTER", key, "-", out, 1024, kUserIni);
        return out;
    }
    std::string Entry(char letter) { return Ini("SubstPath_" + std::string(1, letter)); }
    std::string LabelEntry(char letter) { return Ini("SubstPathLabel_" + std::string(1, letter)); }
    std::string Target(char letter) {
        auto targets = sim.DosDeviceTargets(letter);
        return targets.empty() ? "" : targets.back();
    }
    bool Remembered(char letter) {
        std::string remote;
        return sim.RegistryValue(kHkeyCurrentUser, "Network\\" + std::string(1, letter),
                                 "RemotePath", remote);
    }
    // The texts of the message boxes shown, in order.
    std::vector<std::wstring> Shown() const {
        std::vector<std::wstring> texts;
        for (const auto& box : ui.Messages()) texts.push_back(box.text);
        return texts;
    }
    // What those boxes would read for these keys about a drive.
    std::vector<std::wstring> Texts(const std::vector<TextKey>& keys, char letter = 0) const {
        std::vector<std::wstring> texts;
        for (TextKey key : keys)
            texts.push_back(FilledMessage(program, key, letter ? DriveIndexOf(letter) : 0));
        return texts;
    }

    sim::FakeMainView view;
};

// A scanned machine with a row of every kind the command buttons tell apart:
// temporary and permanent subst drives, a deactivated and an unmapped entry,
// plain, persistent and VirtualBox connections. AddRows adds more before the
// scan.
class MixedRows : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::SimulatedWindows& sim = m.sim;
        m.Started();
        sim.AddFolder("C:\\Data");
        sim.AddShare("\\\\srv\\share");
        sim.AddShare("\\\\vboxsvr\\shared", "\\Device\\VBoxMiniRdr");
        ASSERT_TRUE(Subst(sim, 'D', "C:\\Data"));  // temporary
        ASSERT_TRUE(Subst(sim, 'K', "C:\\Data"));
        StoreDriveEntry(sim, 'K', "C:\\Data");   // permanent, active
        StoreDriveEntry(sim, 'G', "!C:\\Data");  // deactivated
        StoreDriveEntry(sim, 'F', "C:\\Data");   // permanent, not mapped
        ASSERT_TRUE(Connect(sim, 'H', "\\\\srv\\share"));
        ASSERT_TRUE(Connect(sim, 'I', "\\\\srv\\share", true));
        ASSERT_TRUE(Connect(sim, 'L', "\\\\vboxsvr\\shared"));
        AddRows(sim);
        RefreshAll(m.program);
    }
    virtual void AddRows(sim::SimulatedWindows&) {}

    TestMachine m;
};

}  // namespace kelvra::test
