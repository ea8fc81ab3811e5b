// A machine for the console program: drives of every kind the commands
// tell apart, and RunCli with its lines recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "drives_machine.h"

namespace kelvra::test {

struct CliMachine : cli::Output {
    static constexpr const char* kSection = "USER=TESTER";

    CliMachine() {
        sim.AddFolder("C:\\Documents and Settings\\Tester\\Application Data\\Brannock\\Kelvra");
        sim.AddDrive('D', kDriveCdrom);
        sim.AddFolder("C:\\Data\\Long Folder");
        sim.AddFolder("C:\\Other");
        sim.AddShare("\\\\srv\\share");
        sim.AddShare("\\\\vboxsvr\\shared", "\\Device\\VBoxMiniRdr");
        Subst(sim, 'S', "C:\\Data");  // permanent, labelled
        StoreDriveEntry(sim, 'S', "C:\\Data", "Quellen");
        Subst(sim, 'T', "C:\\Other");            // temporary
        StoreDriveEntry(sim, 'G', "!C:\\Data");  // deactivated for good
        Connect(sim, 'N', "\\\\srv\\share");
        Connect(sim, 'V', "\\\\vboxsvr\\shared");
    }

    int Run(const std::vector<std::wstring>& args) {
        out.clear();
        err.clear();
        return cli::RunCli(sim, args, *this);
    }
    void Out(const std::wstring& line) override { out.push_back(line); }
    void Err(const std::wstring& line) override { err.push_back(line); }

    // A settings-file value; "-" when the key is missing.
    std::string Ini(const std::string& key) {
        std::string value;
        sim.GetPrivateProfileString(kSection, key, "-", value, 1024, TestMachine::kUserIni);
        return value;
    }
    void SetIni(const std::string& key, const std::string& value) {
        sim.WritePrivateProfileString(kSection, key, &value, TestMachine::kUserIni);
    }
    // What the letter stands for in the DOS-device table now; "" for nothing.
    std::string Target(char letter) {
        auto targets = sim.DosDeviceTargets(letter);
        return targets.empty() ? "" : targets.back();
    }

    sim::SimulatedWindows sim;
    std::vector<std::wstring> out, err;
};

}  // namespace kelvra::test
