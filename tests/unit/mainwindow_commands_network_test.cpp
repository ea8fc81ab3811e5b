// What the user's profile remembers of a network drive after the commands:
// a drive the user disconnected, deactivated or made temporary must not come
// back at the next logon.
#include "commands_machine.h"

namespace kelvra::test {
namespace {

TEST(CommandNetwork, ProfileForgetsWhatTheCommandsTakeAway) {
    struct Case {
        const char* situation;
        bool connected;  // else only remembered (inactive)
        void (*command)(Program&);
        bool remembered;  // afterwards, in the profile
        const char* typeAfterRescan;
        const char* entry;
    } cases[] = {
        {"disconnect", true, cmdKill_Click, false, "FREE", "-"},
        {"disconnect an inactive drive", false, cmdKill_Click, false, "FREE", "-"},
        {"deactivate permanently", true, cmdDeactivateperm_Click, false, "REMOTE (INACTIVE)",
         "!\\\\srv\\share"},
        {"make temporary", true, cmdFix_Click, false, "REMOTE", "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        CommandMachine m;
        m.program.settings.ShowWarnings = false;
        if (c.connected)
            ASSERT_TRUE(Connect(m.sim, 'X', CommandMachine::kShare, true));
        else
            RememberConnection(m.sim, 'X', CommandMachine::kShare);
        m.Scan();
        ASSERT_EQ(m.Row('X').Permanent, "YES");
        m.Select('X');
        c.command(m.program);
        EXPECT_EQ(m.Remembered('X'), c.remembered);
        EXPECT_EQ(m.Entry('X'), c.entry);
        RefreshAll(m.program);  // what the next start sees
        EXPECT_EQ(m.Row('X').Type, c.typeAfterRescan);
        EXPECT_EQ(m.Row('X').Permanent, c.entry[0] == '!' ? "YES" : "");
    }
}

TEST(CommandNetwork, MakingATemporaryDrivePermanentRemembersIt) {
    CommandMachine m;
    m.program.settings.ShowWarnings = false;
    ASSERT_TRUE(Connect(m.sim, 'X', CommandMachine::kShare, false));
    m.Scan();
    m.Select('X');
    cmdFix_Click(m.program);
    EXPECT_TRUE(m.Remembered('X'));
    EXPECT_TRUE(m.sim.IsConnected('X'));
}

}  // namespace
}  // namespace kelvra::test
