#include "commands_machine.h"
#include "mainwindow/commands_internal.h"

namespace kelvra::test {
namespace {

constexpr const char* kShortFolder = "\\??\\C:\\Data\\LONGFO~1";

bool AskedForInput(const sim::ScriptedUi& ui) {
    for (const auto& box : ui.Boxes())
        if (box.kind == sim::ScriptedUi::Kind::Input) return true;
    return false;
}

TEST(CommandNew, NewDrivesFollowTheDefaultsOfTheirKindAndOrigin) {
    struct Case {
        const char* name;
        bool local, context;
        std::wstring folder;
        bool permanent, link;  // the settings that apply (the others are the opposite)
        const char* type;
        const char* permanentAfter;
        const char* entry;
        bool linkMade;
    };
    const std::wstring folder = L"C:\\Data\\Long Folder", share = L"\\\\srv\\share";
    const Case cases[] = {
        {"permanent subst", true, false, folder, true, false, "SUBST (FIXED)", "YES",
         CommandMachine::kFolder, false},
        {"with shortcut", true, false, folder, true, true, "SUBST (FIXED)", "YES",
         CommandMachine::kFolder, true},
        {"off a local disk", false, false, folder, true, true, "SUBST (FIXED)", "", "-", false},
        {"temporary by setting", true, false, folder, false, true, "SUBST (FIXED)", "", "-", false},
        {"network, off a local disk", false, false, share, true, true, "REMOTE", "YES", "-", true},
        {"temporary network", true, false, share, false, true, "REMOTE", "", "-", false},
        {"context defaults", true, true, folder, true, true, "SUBST (FIXED)", "YES",
         CommandMachine::kFolder, true},
        {"context network", true, true, share, false, false, "REMOTE", "", "-", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m(c.local);
        Settings& s = m.Scan().settings;
        s.SubstDefaultPermanent = s.NetDefaultPermanent = c.context ? !c.permanent : c.permanent;
        s.SubstPermanentLink = s.NetPermanentLink = c.context ? !c.link : c.link;
        s.SubstDefaultPermanentSCE = s.NetDefaultPermanentSCE =
            c.context ? c.permanent : !c.permanent;
        s.SubstPermanentLinkSCE = s.NetPermanentLinkSCE = c.context ? c.link : !c.link;
        if (c.context) m.program.context.ContextPath = "C:\\Data";
        m.Select('X');
        m.ui.QueueFolder(c.folder);
        cmdNew_Click(m.program);
        EXPECT_EQ(m.Row('X').Type, c.type);
        EXPECT_EQ(m.Row('X').Permanent, c.permanentAfter);
        EXPECT_EQ(m.Entry('X'), c.entry);
        if (c.folder == folder) {
            EXPECT_EQ(m.Target('X'), kShortFolder);
        } else {
            EXPECT_EQ(m.Remembered('X'), c.permanent);
        }
        sim::SimulatedWindows::ShellLink link;
        EXPECT_EQ(
            m.sim.ReadShellLink(std::string(CommandMachine::kDesktop) + "Laufwerk X.lnk", link),
            c.linkMade);
        EXPECT_FALSE(AskedForInput(m.ui));  // the automatic shortcut asks nothing
        EXPECT_TRUE(m.Shown().empty());
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandNew, FolderAnswersThatMakeNoDrive) {
    struct Case {
        std::wstring folder;
        std::vector<TextKey> shown;
        const char* target;  // of X afterwards
        bool hint;
    };
    const std::wstring tooLong =
        L"C:\\" + std::wstring(120, L'a') + L"\\" + std::wstring(135, L'b');
    const Case cases[] = {
        {L"", {}, "", false},                                              // cancelled
        {L"C:", {}, "\\??\\C:\\", true},                                   // a root, with the hint
        {tooLong, {TextKey::main_msgadddrive_errorlong}, "", false},       // 259 characters
        {L"Q:\\Gone", {TextKey::main_msgadddrive_errorsubst}, "", false},  // letter vanished
        {L"C:\\\u0141\u00F3d\u017A", {TextKey::main_msgchars_error}, "", false},
        {L"S:\\Sub", {TextKey::main_msgnew_error}, "", false},  // on a subst drive
        {L"N:\\Sub", {TextKey::main_msgnew_error}, "", false},  // on a network drive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder.begin(), c.folder.end()));
        CommandMachine m;
        m.sim.AddFolder(std::string(tooLong.begin(), tooLong.end()));
        m.sim.AddFolder("Q:\\Gone");
        Subst(m.sim, 'S', "C:\\Other");
        Connect(m.sim, 'N', CommandMachine::kShare);
        m.Scan();
        m.Select('X');
        m.ui.QueueFolder(c.folder);
        cmdNew_Click(m.program);
        const std::vector<std::wstring> expected = m.Texts(c.shown);
        EXPECT_EQ(m.Shown(), expected);
        EXPECT_EQ(m.Target('X'), c.target);
        EXPECT_EQ(m.ui.Boxes().size(), 1 + expected.size() + (c.hint ? 1 : 0));
        EXPECT_EQ(m.Entry('X'), c.target[0] ? "C:\\" : "-");
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandNew, ChangeOfAnActiveDriveKeepsPermanenceAndLabel) {
    struct Case {
        bool local;
        std::wstring folder;
        std::vector<TextKey> shown;
        const char *target, *entry, *permanent;
    };
    const std::vector<TextKey> failed = {TextKey::main_reqdeldrive,
                                         TextKey::main_msgadddrive_errorsubst};
    // clang-format off
    const Case cases[] = {
        {true, L"C:\\Other", {TextKey::main_reqdeldrive}, "\\??\\C:\\Other", "C:\\Other", "YES"},
        // The new folder cannot be mapped: the old one comes back, as it was.
        {true, L"Q:\\Gone", failed, kShortFolder, CommandMachine::kFolder, "YES"},
        // Off a local disk a changed drive turns temporary, one put back does not.
        {false, L"C:\\Other", {TextKey::main_reqdeldrive}, "\\??\\C:\\Other", "-", ""},
        {false, L"Q:\\Gone", failed, kShortFolder, CommandMachine::kFolder, "YES"},
    };
    // clang-format on
    for (const Case& c : cases) {
        CommandMachine m(c.local);
        StoreDriveEntry(m.sim, 'X', CommandMachine::kFolder, "Daten");
        Subst(m.sim, 'X', CommandMachine::kFolder);
        m.Scan();
        m.Select('X');
        m.ui.QueueFolder(c.folder);
        cmdNew_Click(m.program);
        EXPECT_EQ(m.Shown(), m.Texts(c.shown, 'X'));
        EXPECT_EQ(m.sim.DosDeviceTargets('X'), std::vector<std::string>{c.target});
        EXPECT_EQ(m.Entry('X'), c.entry);
        EXPECT_EQ(m.LabelEntry('X'), "Daten");
        EXPECT_EQ(m.Row('X').Permanent, c.permanent);
        EXPECT_EQ(m.Row('X').Label, "Daten");
    }
}

// Paths of C:\ + 120 a's + \ + b's; the long form is the one that counts.
std::string DeepFolder(std::size_t length) {
    return "C:\\" + std::string(120, 'a') + "\\" + std::string(length - 124, 'b');
}

TEST(CommandNew, PathsTooLongForASubstDriveAreRefusedBeforeAnythingChanges) {
    struct Case {
        const char* name;
        std::string folder;  // chosen
        bool accepted;
    };
    const std::string longest = DeepFolder(254), tooLong = DeepFolder(259);
    const Case cases[] = {
        {"254 characters", longest, true},
        {"255 characters", DeepFolder(255), false},
        {"259 characters", tooLong, false},
        // Typed in short form, it stands for a long form of 259 characters.
        {"short form of a long path", "C:\\AAAAAA~1\\" + std::string(135, 'b'), false},
    };
    for (const Case& c : cases) {
        for (const bool change : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (change ? ", change" : ", new"));
            CommandMachine m;
            m.sim.AddFolder(longest);
            m.sim.AddFolder(DeepFolder(255));
            m.sim.AddFolder(tooLong);
            if (change) {
                StoreDriveEntry(m.sim, 'X', CommandMachine::kFolder, "Daten");
                Subst(m.sim, 'X', CommandMachine::kFolder);
            }
            m.Scan();
            m.Select('X');
            m.ui.QueueFolder(std::wstring(c.folder.begin(), c.folder.end()));
            const std::vector<std::string> before = m.sim.DosDeviceTargets('X');
            m.sim.ResetCalls();
            cmdNew_Click(m.program);
            EXPECT_FALSE(m.program.main.Busy);
            if (c.accepted) {
                std::string shortForm;
                m.sim.GetShortPathName(c.folder, shortForm, 300);
                EXPECT_EQ(m.Target('X'), "\\??\\" + shortForm);
                EXPECT_EQ(m.Entry('X'), c.folder);
                continue;
            }
            EXPECT_EQ(m.Shown(), m.Texts({TextKey::main_msgadddrive_errorlong}));
            EXPECT_EQ(m.sim.DosDeviceTargets('X'), before);
            EXPECT_EQ(m.sim.Calls("DefineDosDevice"), 0);
            EXPECT_EQ(m.sim.Calls("ReplaceFileContents"), 0);
            EXPECT_EQ(m.Entry('X'), change ? CommandMachine::kFolder : "-");
            EXPECT_EQ(m.LabelEntry('X'), change ? "Daten" : "-");
        }
    }
    // Other callers (context command, move) get the same message from the connect.
    CommandMachine m;
    m.sim.AddFolder(tooLong);
    m.Scan();
    EXPECT_FALSE(
        ConnectDrive(m.program, tooLong, DriveIndexOf('X'), Permanence::FromSettings).Connected);
    EXPECT_EQ(m.Shown(), m.Texts({TextKey::main_msgadddrive_errorlong}));
}

TEST(CommandNew, ChangeOfAnInactiveEntryOnlyRewritesIt) {
    struct Case {
        const char* stored;
        std::wstring folder;
        const char* entry;
        const char* type;
    };
    const Case cases[] = {
        {CommandMachine::kFolder, L"C:\\Other", "C:\\Other", "SUBST (INACTIVE)"},
        {"!C:\\Data\\Long Folder", L"C:\\Other", "!C:\\Other", "SUBST (INACTIVE)"},
        // A share on a subst entry: kept as a deactivated network entry.
        {CommandMachine::kFolder, L"\\\\srv\\share", "!\\\\srv\\share", "REMOTE (INACTIVE)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        CommandMachine m;
        StoreDriveEntry(m.sim, 'X', c.stored, "Daten");
        m.Scan();
        m.Select('X');
        m.ui.QueueFolder(c.folder);
        cmdNew_Click(m.program);
        EXPECT_TRUE(m.Shown().empty());
        EXPECT_EQ(m.Entry('X'), c.entry);
        EXPECT_EQ(m.LabelEntry('X'), "Daten");
        EXPECT_EQ(m.Row('X').Type, c.type);
        EXPECT_EQ(m.Target('X'), "");
        EXPECT_FALSE(m.sim.IsConnected('X'));
    }
}

TEST(CommandNew, LocalDiskTakesNoFolder) {
    CommandMachine m;
    m.Scan();
    m.Select('C');
    m.ui.QueueFolder(L"C:\\Other");
    cmdNew_Click(m.program);
    EXPECT_TRUE(m.ui.Boxes().empty());
    EXPECT_TRUE(m.sim.DosDeviceTargets('C').empty());
    EXPECT_EQ(m.Row('C').Type, "FIXED");
    EXPECT_FALSE(m.program.main.Busy);
}

TEST(CommandNew, InactiveNetworkDriveThatCannotReconnectStaysAsItWas) {
    CommandMachine m;
    RememberConnection(m.sim, 'N', "\\\\gone\\share");
    m.Scan();
    m.Select('N');
    m.ui.QueueFolder(L"\\\\srv\\other");
    cmdNew_Click(m.program);
    EXPECT_TRUE(m.Shown().empty());
    EXPECT_FALSE(m.sim.IsConnected('N'));
    EXPECT_EQ(m.Row('N').Type, "REMOTE (INACTIVE)");
    EXPECT_EQ(m.Row('N').Path, "\\\\gone\\share");
    EXPECT_FALSE(m.program.main.Busy);
}

TEST(BrowseForFolder, ResultRules) {
    struct Case {
        std::wstring chosen;
        std::wstring result;
    };
    const Case cases[] = {
        {L"C:", L"C:\\"},
        {L"c:", L"c:\\"},
        {L"C:\\", L"C:\\"},
        {L"C:\\Data", L"C:\\Data"},
        {L"\\\\srv\\share", L"\\\\srv\\share"},
        {std::wstring(L"C:\\Data\0junk", 12), L"C:\\Data"},
        {std::wstring(L"C:\0", 3), L"C:\\"},
        {L"CD", L"CD"},
        // Characters outside any 8-bit code page come back unchanged.
        {L"C:\\\u0141\u00F3d\u017A", L"C:\\\u0141\u00F3d\u017A"},
    };
    for (const Case& c : cases) {
        sim::ScriptedUi ui;
        ui.QueueFolder(c.chosen);
        int cancelled = 0;
        EXPECT_EQ(commands::BrowseForFolder(ui, L"Title", [&] { ++cancelled; }), c.result);
        EXPECT_EQ(cancelled, 0);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_EQ(ui.Boxes()[0].text, L"Title");
    }
}

TEST(BrowseForFolder, CancelGivesEmptyAndReselects) {
    for (const std::wstring& chosen : {std::wstring(), std::wstring(1, L'\0')}) {
        sim::ScriptedUi ui;
        ui.QueueFolder(chosen);
        ui.QueueFolder(chosen);
        int cancelled = 0;
        EXPECT_EQ(commands::BrowseForFolder(ui, L"T", [&] { ++cancelled; }), L"");
        EXPECT_EQ(cancelled, 1);
        EXPECT_EQ(commands::BrowseForFolder(ui, L"T"), L"");  // no callback is fine too
    }
}

}  // namespace
}  // namespace kelvra::test
