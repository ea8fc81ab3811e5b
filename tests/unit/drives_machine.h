// Building blocks for drive scenarios on the simulated machine.
#pragma once

#include <string>

#include "platform/os.h"
#include "sim/simulated_windows.h"
#include "test_machine.h"

namespace kelvra::test {

// "SubstPath_" + letter (and "SubstPathLabel_" + letter when a label is
// given) in the tester's section of the per-user settings file.
inline void StoreDriveEntry(sim::SimulatedWindows& sim, char letter, const std::string& path,
                            const std::string& label = "") {
    const std::string upper(1, letter);
    sim.WritePrivateProfileString("USER=TESTER", "SubstPath_" + upper, &path,
                                  TestMachine::kUserIni);
    if (!label.empty())
        sim.WritePrivateProfileString("USER=TESTER", "SubstPathLabel_" + upper, &label,
                                      TestMachine::kUserIni);
}

inline void StoreLabel(sim::SimulatedWindows& sim, char letter, const std::string& label) {
    sim.WritePrivateProfileString("USER=TESTER", "SubstPathLabel_" + std::string(1, letter), &label,
                                  TestMachine::kUserIni);
}

inline bool Subst(sim::SimulatedWindows& sim, char letter, const std::string& folder) {
    return sim.DefineDosDevice(0, std::string(1, letter) + ":", &folder);
}

inline bool Connect(sim::SimulatedWindows& sim, char letter, const std::string& remote,
                    bool persistent = false) {
    NetResource resource;
    resource.localName = std::string(1, letter) + ":";
    resource.remoteName = remote;
    return sim.WNetAddConnection2(resource, nullptr, nullptr,
                                  persistent ? kConnectUpdateProfile : 0) == oserr::kSuccess;
}

// A persistent connection remembered in the profile (NT key).
inline void RememberConnection(sim::SimulatedWindows& sim, char letter, const std::string& remote,
                               const std::string& prefix = "Network\\") {
    sim.SetRegistryString(kHkeyCurrentUser, prefix + letter, "RemotePath", remote);
}

}  // namespace kelvra::test
