// The program machine for the Explorer context commands.
#pragma once

#include <string>
#include <vector>

#include "commands_machine.h"
#include "startup/context.h"

namespace kelvra::test {

using Kind = sim::ScriptedUi::Kind;

inline const std::string kLongFolder =
    "C:\\" + std::string(120, 'a') + "\\" + std::string(135, 'b');
inline const std::string kHugePath = "C:\\" + std::string(4997, 'x');

// The program machine with files beside the folders, a folder of 259
// characters, a subst S:, a network N: and a remembered, inactive F:.
struct ContextMachine : CommandMachine {
    ContextMachine() {
        sim.AddFile("C:\\Data\\note.txt");
        sim.AddFile("C:\\boot.ini");
        sim.AddFile("\\\\srv\\share\\read me.txt");
        sim.AddFolder(kLongFolder);
        Subst(sim, 'S', "C:\\Other");
        Connect(sim, 'N', kShare);
        StoreDriveEntry(sim, 'F', "C:\\Other");
    }
    // The command as the hidden main window runs it, unscanned as yet.
    void Command(bool connect, const std::string& path) {
        program.context = {connect, path};
        ContextCommand(program);
    }
    std::vector<Kind> Kinds() const {
        std::vector<Kind> kinds;
        for (const auto& box : ui.Boxes()) kinds.push_back(box.kind);
        return kinds;
    }
};

}  // namespace kelvra::test
