#include <gtest/gtest.h>

#include <new>

#include "commands_machine.h"
#include "drives/scan.h"
#include "drives_machine.h"
#include "mainwindow/main_window.h"
#include "sim/fake_main_view.h"

namespace kelvra::test {
namespace {

class MainWindowLogic : public ::testing::Test {
  protected:
    void SetUp() override {
        m.Started().view = &view;
        m.program.startup.ApplicationVersion = "1.0.1";
    }
    TestMachine m;
    sim::FakeMainView view;
};

// What the user sees of the busy state: indicator on and buttons off while a
// command runs, both back afterwards, on whichever way it ends.
TEST(BusyState, ShownWhileACommandRunsAndGoneAfterAnEarlyReturn) {
    for (const bool showButtons : {true, false}) {
        CommandMachine m;
        Subst(m.sim, 'X', CommandMachine::kFolder);
        m.program.settings.ShowButtons = showButtons;
        m.program.settings.ShowWarnings = true;
        DisplayRefresh(m.program);
        m.Select('X');
        bool busyWhileAsking = false, buttonsWhileAsking = true;
        m.ui.WhileNextBoxIsOpen([&] {
            busyWhileAsking = m.view.busyShown && m.program.main.Busy;
            buttonsWhileAsking = m.view.buttonBarEnabled;
        });
        m.ui.QueueAnswer(mb::kIdNo);  // the question ends the command early
        const int focusBefore = m.view.focusCalls;
        cmdKill_Click(m.program);
        EXPECT_TRUE(busyWhileAsking);
        EXPECT_FALSE(buttonsWhileAsking);
        EXPECT_FALSE(m.view.busyShown);
        EXPECT_FALSE(m.program.main.Busy);
        EXPECT_EQ(m.view.buttonBarEnabled, showButtons);
        EXPECT_EQ(m.view.focusCalls, focusBefore + 1);
        EXPECT_FALSE(m.Target('X').empty());  // the answer kept the drive
    }
}

TEST(BusyState, NestedScopesEndItOnceTheLastCloses) {
    CommandMachine m;
    m.Select('C');
    {
        const BusyScope outer(m.program);
        { const BusyScope inner(m.program); }
        EXPECT_TRUE(m.view.busyShown);
        EXPECT_FALSE(m.view.buttonBarEnabled);
        EXPECT_TRUE(m.program.main.Busy);
        EXPECT_EQ(m.view.focusCalls, 0);
    }
    EXPECT_FALSE(m.view.busyShown);
    EXPECT_TRUE(m.view.buttonBarEnabled);
    EXPECT_FALSE(m.program.main.Busy);
    // The buttons follow the selection again.
    EXPECT_EQ(m.program.main.SelectedDrive, DriveIndexOf('C'));
    EXPECT_EQ(m.view.showCommandsCalls, 1);
}

TEST_F(MainWindowLogic, HintShownWhileItsFlagIsOne) {
    // clang-format off
    struct Case { const char* flags; int number; bool ticked, shown; const char* after; };
    const Case cases[] = {
        {"11", 1, false, true, "11"}, {"11", 1, true, true, "01"},    {"01", 1, true, false, "01"},
        {"01", 2, true, true, "00"},  {"10", 2, true, false, "10"},   {"", 1, true, false, ""},
        {"11", 3, true, false, "11"}, {"111", 3, true, true, "110"},  {"1111", 4, true, false, "1111"},  // hint 4 has no text
        {"11", 0, true, false, "11"}, {"11", -1, true, false, "11"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.flags) + " " + std::to_string(c.number));
        m.ui.Clear();
        m.program.settings.ShowHints = c.flags;
        if (c.shown) m.ui.QueueHintTick(c.ticked);
        ShowHint(m.program, c.number);
        ASSERT_EQ(m.ui.Boxes().size(), c.shown ? 1u : 0u);
        EXPECT_EQ(m.program.settings.ShowHints, c.after);
        if (!c.shown) continue;
        const auto& box = m.ui.Boxes()[0];
        EXPECT_EQ(box.caption, L"Kelvra V1.0.1 - Hinweis");
        const TextKey text = c.number == 1   ? TextKey::hint_1
                             : c.number == 2 ? TextKey::hint_2
                                             : TextKey::hint_3;
        EXPECT_EQ(box.text, Text(m.program.language, text));
        EXPECT_EQ(box.defaultText, L"&Nicht mehr anzeigen");
    }
}

TEST(HintFlags, UntickRestoresAndAHintBeyondTheTextPadsWithOnes) {
    EXPECT_EQ(HintFlagsAfterCheck("01", 1, false), "11");
    EXPECT_EQ(HintFlagsAfterCheck("", 1, true), "0");
    EXPECT_EQ(HintFlagsAfterCheck("1", 3, true), "110");
    EXPECT_EQ(HintFlagsAfterCheck("11", 0, true), "11");
}

TEST_F(MainWindowLogic, PollRefreshesOnlyOnAChangeNoRefreshHasShown) {
    // clang-format off
    struct Case { const char* situation; bool normal, busy, change, refreshed; };
    const Case cases[] = {
        {"Minimized", false, false, true, false},
        {"Busy", true, true, true, false},
        {"Changed", true, false, true, true},
        {"Unchanged", true, false, false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        TestMachine t;
        sim::FakeMainView v;
        t.Started().view = &v;
        if (!c.change) NetworkCheck(t.program);
        t.sim.ResetCalls();
        t.program.main.Busy = c.busy;
        PollTick(t.program, c.normal);
        EXPECT_EQ(v.showRowsCalls, c.refreshed ? 1 : 0);
        if (!c.normal || c.busy) {
            EXPECT_EQ(t.sim.TotalCalls(), 0);
        }
    }
}

TEST_F(MainWindowLogic, PollSeesWhatChangedSinceTheLastRefreshAndNothingElse) {
    TestMachine t;
    sim::FakeMainView v;
    t.Started().view = &v;
    t.sim.AddFolder("C:\\Data");
    DisplayRefresh(t.program);  // the load's scan
    v.showRowsCalls = 0;
    PollTick(t.program, true);  // nothing changed since: no second scan
    EXPECT_EQ(v.showRowsCalls, 0);
    DisplayRefresh(t.program);                   // a command's refresh ...
    ASSERT_TRUE(Subst(t.sim, 'K', "C:\\Data"));  // ... and a drive made right after it
    v.showRowsCalls = 0;
    PollTick(t.program, true);
    EXPECT_EQ(v.showRowsCalls, 1);
    EXPECT_EQ(t.program.drives.main[DriveIndexOf('K')].Path, "C:\\Data");
}

// Ticks from the last refresh until the list shows a change made by another
// program: a drive that comes or goes at the next tick; what the drive list
// does not show (a folder deleted behind a subst letter, a lost connection,
// a letter moved between two ticks, an entry in the settings file) by the
// full check, at the fifth.
TEST(Poll, ShowsOutsideChangesWithinTheirPeriod) {
    using Sim = sim::SimulatedWindows;
    struct Case {
        const char* event;
        void (*change)(Sim&);
        char letter;
        const char* type;
        const char* path;  // of the letter's row once the list shows it
        int ticks;
        const char* label = "";
    };
    const Case cases[] = {
        {"subst made", [](Sim& s) { Subst(s, 'K', "C:\\Other"); }, 'K', "SUBST (FIXED)",
         "C:\\Other", 1},
        {"subst removed", [](Sim& s) { s.DefineDosDevice(kDddRemoveDefinition, "D:", nullptr); },
         'D', "FREE", "", 1},
        {"connection made", [](Sim& s) { Connect(s, 'M', "\\\\srv\\b"); }, 'M', "REMOTE",
         "\\\\srv\\b", 1},
        {"connection cancelled", [](Sim& s) { s.WNetCancelConnection("N:", true); }, 'N', "FREE",
         "", 1},
        {"stick plugged in", [](Sim& s) { s.AddDrive('U', kDriveRemovable); }, 'U', "REMOVABLE", "",
         1},
        {"folder deleted behind a subst letter", [](Sim& s) { s.RemovePath("C:\\Data"); }, 'D',
         "UNKNOWN", "", kFullCheckTicks},
        {"server of a network drive gone", [](Sim& s) { s.LoseConnection('N'); }, 'N', "REMOTE", "",
         kFullCheckTicks},
        {"subst moved to another folder",
         [](Sim& s) {
             s.DefineDosDevice(kDddRemoveDefinition, "D:", nullptr);
             Subst(s, 'D', "C:\\Other");
         },
         'D', "SUBST (FIXED)", "C:\\Other", kFullCheckTicks},
        {"label stored by another program", [](Sim& s) { StoreLabel(s, 'D', "Sources"); }, 'D',
         "SUBST (FIXED)", "C:\\Data", kFullCheckTicks, "Sources"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        TestMachine t;
        sim::FakeMainView v;
        t.Started().view = &v;
        t.sim.AddFolder("C:\\Data");
        t.sim.AddFolder("C:\\Other");
        t.sim.AddShare("\\\\srv\\a");
        t.sim.AddShare("\\\\srv\\b");
        ASSERT_TRUE(Subst(t.sim, 'D', "C:\\Data"));
        ASSERT_TRUE(Connect(t.sim, 'N', "\\\\srv\\a"));
        DisplayRefresh(t.program);
        v.showRowsCalls = 0;
        c.change(t.sim);
        int ticks = 0;
        while (v.showRowsCalls == 0 && ticks < 3 * kFullCheckTicks) {
            PollTick(t.program, true);
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticks);
        const DriveRecord& row = t.program.drives.main[DriveIndexOf(c.letter)];
        EXPECT_EQ(row.Type, c.type);
        EXPECT_EQ(row.Path, c.path);
        EXPECT_EQ(row.Label, c.label);
        // Shown once: the refresh brought the poll's record up to date.
        for (int i = 0; i < 2 * kFullCheckTicks; ++i) PollTick(t.program, true);
        EXPECT_EQ(v.showRowsCalls, 1);
    }
}

// An announced change may be one no check sees (another disc in a drive): it
// refreshes the list at once, or at the first tick that polls again.
TEST(Poll, AnnouncedDriveChangeRefreshesOnceWhenTheListCanFollow) {
    struct Case {
        const char* situation;
        bool normal, busy;
    };
    const Case cases[] = {
        {"normal", true, false}, {"busy", true, true}, {"minimized", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        TestMachine t;
        sim::FakeMainView v;
        t.Started().view = &v;
        DisplayRefresh(t.program);
        v.showRowsCalls = 0;
        t.program.main.Busy = c.busy;
        DriveChangeAnnounced(t.program, c.normal);
        const bool atOnce = c.normal && !c.busy;
        EXPECT_EQ(v.showRowsCalls, atOnce ? 1 : 0);
        PollTick(t.program, c.normal);  // still busy or minimized
        EXPECT_EQ(v.showRowsCalls, atOnce ? 1 : 0);
        t.program.main.Busy = 0;
        PollTick(t.program, true);
        EXPECT_EQ(v.showRowsCalls, 1);
        PollTick(t.program, true);
        EXPECT_EQ(v.showRowsCalls, 1);
    }
}

TEST_F(MainWindowLogic, DeviceNameModeCyclesOnNtOnly) {
    const int cases[][3] = {{1, 0, 1}, {1, 1, 2}, {1, 2, 0}, {1, 7, 0}, {1, -1, 0}, {0, 1, 1}};
    for (const auto& [nt, from, to] : cases) {
        m.program.startup.IsNT = nt;
        m.program.settings.ShowDeviceNames = from;
        view.showRowsCalls = 0;
        SwitchDeviceNames(m.program);
        EXPECT_EQ(m.program.settings.ShowDeviceNames, to) << from;
        EXPECT_EQ(view.showRowsCalls, nt ? 1 : 0);
        EXPECT_FALSE(m.program.main.Busy);
    }
}

// Out of memory inside a command: the exception goes to the window, the
// busy state does not stay. Thrown once inside the command only, and once
// also again while the busy state is left.
TEST(BusyState, EndsWhenACommandThrows) {
    const std::pair<const char*, void (*)(Program&)> commands[] = {
        {"new", cmdNew_Click},
        {"move",
         [](Program& p) {
             p.main.MoveTarget = DriveIndexOf('Y');
             ExecuteMove(p, false);
         }},
        {"disconnect", cmdKill_Click},
        {"permanent", cmdFix_Click},
        {"deactivate", cmdDeactivate_Click},
        {"deactivate permanently", cmdDeactivateperm_Click},
        {"rename", cmdRename_Click},
        {"shortcut", cmdLink_Click},
        {"device names", SwitchDeviceNames},
    };
    for (const auto& [name, command] : commands) {
        for (const char* operation : {"QueryDosDevice", "GetDriveType"}) {
            SCOPED_TRACE(std::string(name) + ", " + operation);
            CommandMachine m;
            Subst(m.sim, 'X', CommandMachine::kFolder);
            m.Select('X');
            DisplayRefresh(m.program);
            m.sim.Throw(operation);
            EXPECT_THROW(command(m.program), std::bad_alloc);
            EXPECT_FALSE(m.program.main.Busy);
            EXPECT_TRUE(m.view.buttonBarEnabled);
            EXPECT_FALSE(m.view.busyShown);
            // The poll goes on.
            m.sim.Heal(operation);
            Subst(m.sim, 'Y', CommandMachine::kFolder);
            PollTick(m.program, true);
            EXPECT_EQ(m.Row('Y').Type, "SUBST (FIXED)");
        }
    }
}

}  // namespace
}  // namespace kelvra::test
