// Explorer hears of every drive this program makes, removes or relabels:
// from the console's commands (which run the buttons' procedures), the
// Explorer context commands and the logon's restore; an elevated run makes
// each drive in the normal session too.
#include "cli_machine.h"
#include "context_machine.h"

namespace kelvra::test {
namespace {

using Notice = sim::SimulatedWindows::ShellNotice;

Notice Added(const char* root) {
    return {kShcneDriveAdd, root};
}
Notice Removed(const char* root) {
    return {kShcneDriveRemoved, root};
}
Notice Updated(const char* root) {
    return {kShcneUpdateItem, root};
}

// Run elevated, so that each case also shows what the normal session is
// asked to do (kelvractl started there through the desktop shell).
TEST(ShellNotices, FollowEveryDriveChangeAndSoDoesTheNormalSession) {
    struct Case {
        std::vector<std::wstring> args;
        std::vector<Notice> sent;
        std::vector<std::string> started;  // kelvractl's parameters there
    };
    const Case cases[] = {
        {{L"new", L"X:", L"C:\\Other"}, {Added("X:\\")}, {"new X: \"C:\\Other\" --session-only"}},
        // The closing quote must not be escaped by the root's backslash.
        {{L"new", L"X:", L"C:\\"}, {Added("X:\\")}, {"new X: \"C:\\\\\" --session-only"}},
        {{L"new", L"X:", L"\\\\srv\\share"},
         {Added("X:\\")},
         {"new X: \"\\\\srv\\share\" --session-only"}},
        {{L"new", L"X:", L"C:\\Other", L"--permanent", L"--label", L"Neu"},
         {Added("X:\\"), Updated("X:\\")},
         {"new X: \"C:\\Other\" --session-only"}},
        // Removed and made again in one command: one start, which replaces.
        {{L"change", L"T:", L"C:\\Data"},
         {Removed("T:\\"), Added("T:\\")},
         {"new T: \"C:\\Data\" --session-only"}},
        {{L"deactivate", L"S:"}, {Removed("S:\\")}, {"disconnect S: --session-only"}},
        {{L"deactivate", L"S:", L"--permanent"},
         {Removed("S:\\")},
         {"disconnect S: --session-only"}},
        {{L"activate", L"G:"}, {Added("G:\\")}, {"new G: \"C:\\Data\" --session-only"}},
        {{L"permanent", L"N:", L"on"},
         {Removed("N:\\"), Added("N:\\")},
         {"new N: \"\\\\srv\\share\" --session-only"}},
        {{L"permanent", L"S:", L"off"}, {}, {}},
        {{L"disconnect", L"T:"}, {Removed("T:\\")}, {"disconnect T: --session-only"}},
        {{L"disconnect", L"N:"}, {Removed("N:\\")}, {"disconnect N: --session-only"}},
        {{L"move", L"S:", L"X:"},
         {Removed("S:\\"), Added("X:\\")},
         {"disconnect S: --session-only", "new X: \"C:\\Data\" --session-only"}},
        {{L"label", L"S:", L"Neu"}, {Updated("S:\\")}, {}},
        {{L"label", L"S:"}, {Updated("S:\\")}, {}},
        // Each session restores its own drives.
        {{L"restore"}, {Added("R:\\")}, {}},
        // The normal session's own run mirrors nothing.
        {{L"new", L"X:", L"C:\\Other", L"--session-only"}, {Added("X:\\")}, {}},
        // Refused or failed: nothing changed, nothing to tell.
        {{L"new", L"S:", L"C:\\Other"}, {}, {}},
        {{L"disconnect", L"D:"}, {}, {}},
        {{L"new", L"X:", L"C:\\Missing"}, {}, {}},
    };
    for (const Case& c : cases) {
        CliMachine m;
        m.sim.SetElevation(kElevationFull, true);
        m.SetIni("SubstPath_R", "C:\\Other");  // stored, not mapped: restore makes it
        m.Run(c.args);
        std::wstring line;
        for (const std::wstring& arg : c.args) line += arg + L" ";
        SCOPED_TRACE(std::string(line.begin(), line.end()));
        EXPECT_EQ(m.sim.shellNotices, c.sent);
        std::vector<sim::SimulatedWindows::Launch> started;
        for (const std::string& parameters : c.started)
            started.push_back({"C:\\Program Files\\Kelvra\\kelvractl.exe", parameters, false});
        EXPECT_EQ(m.sim.launches, started);
    }
}

TEST(ShellNotices, FollowTheContextCommands) {
    ContextMachine set;
    set.ui.QueueLetter(DriveIndexOf('X'));
    set.Command(true, CommandMachine::kFolder);
    EXPECT_EQ(set.sim.shellNotices, std::vector<Notice>{Added("X:\\")});

    ContextMachine cut;
    cut.ui.QueueAnswer(mb::kIdYes);
    cut.Command(false, "S:\\");
    EXPECT_EQ(cut.sim.shellNotices, std::vector<Notice>{Removed("S:\\")});
}

}  // namespace
}  // namespace kelvra::test
