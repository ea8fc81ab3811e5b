// Explorer hears of every drive this program makes, removes or relabels:
// from the console's commands (which run the buttons' procedures), the
// Explorer context commands and the logon's restore.
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

TEST(ShellNotices, FollowEveryDriveChangeAndNothingElse) {
    struct Case {
        std::vector<std::wstring> args;
        std::vector<Notice> sent;
    };
    const Case cases[] = {
        {{L"new", L"X:", L"C:\\Other"}, {Added("X:\\")}},
        {{L"new", L"X:", L"\\\\srv\\share"}, {Added("X:\\")}},
        {{L"new", L"X:", L"C:\\Other", L"--permanent", L"--label", L"Neu"},
         {Added("X:\\"), Updated("X:\\")}},
        {{L"change", L"T:", L"C:\\Data"}, {Removed("T:\\"), Added("T:\\")}},
        {{L"deactivate", L"S:"}, {Removed("S:\\")}},
        {{L"deactivate", L"S:", L"--permanent"}, {Removed("S:\\")}},
        {{L"activate", L"G:"}, {Added("G:\\")}},
        {{L"permanent", L"N:", L"on"}, {Removed("N:\\"), Added("N:\\")}},
        {{L"permanent", L"S:", L"off"}, {}},
        {{L"disconnect", L"T:"}, {Removed("T:\\")}},
        {{L"disconnect", L"N:"}, {Removed("N:\\")}},
        {{L"move", L"S:", L"X:"}, {Removed("S:\\"), Added("X:\\")}},
        {{L"label", L"S:", L"Neu"}, {Updated("S:\\")}},
        {{L"label", L"S:"}, {Updated("S:\\")}},
        {{L"restore"}, {Added("R:\\")}},
        // Refused or failed: nothing changed, nothing to tell.
        {{L"new", L"S:", L"C:\\Other"}, {}},
        {{L"disconnect", L"D:"}, {}},
        {{L"new", L"X:", L"C:\\Missing"}, {}},
    };
    for (const Case& c : cases) {
        CliMachine m;
        m.SetIni("SubstPath_R", "C:\\Other");  // stored, not mapped: restore makes it
        m.Run(c.args);
        std::wstring line;
        for (const std::wstring& arg : c.args) line += arg + L" ";
        EXPECT_EQ(m.sim.shellNotices, c.sent) << std::string(line.begin(), line.end());
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
