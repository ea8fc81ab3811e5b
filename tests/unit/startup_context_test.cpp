#include "context_machine.h"

namespace kelvra::test {
namespace {

TEST(ContextPath, NormalizedToAnExistingFolderOrNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Data\\", "C:\\Data"},
        {"C:\\", "C:\\"},
        {"c:\\data\\long folder\\", "c:\\data\\long folder"},
        {"\\\\Netz (srv)\\share\\", "\\\\srv\\share"},
        {"\\\\NETZ (SRV)\\share\\read me.txt", "\\\\SRV\\share"},
        {"\\\\(srv)\\share", "\\\\srv\\share"},
        {"\\\\Text (srv\\share", ""},  // never closed
        {"C:\\Data\\note.txt", "C:\\Data"},
        {"C:\\boot.ini", "C:\\"},  // the root, not the current folder of C:
        {"C:\\Missing", ""},
        {kLongFolder, kLongFolder},
        {kHugePath, ""},
    };
    for (const auto& [path, expected] : cases) {
        ContextMachine m;
        EXPECT_EQ(NormalizeContextPath(m.sim, path), expected) << path.substr(0, 40);
    }
    // Forms that name no folder by themselves never reach the system, which
    // would resolve them against the current folder or cut them at a NUL.
    for (const std::string& path :
         {std::string(), std::string("Data"), std::string("C:"), std::string("\\\\?\\C:\\Data"),
          std::string("\\\\.\\C:"), std::string("C:\\Data\0x", 9), std::string("C:\\Data\t")}) {
        ContextMachine m;
        m.sim.ResetCalls();
        EXPECT_EQ(NormalizeContextPath(m.sim, path), "") << path;
        EXPECT_EQ(m.sim.TotalCalls(), 0) << path;
    }
}

TEST(ContextStart, CommandLineGivesTheCommandAndItsLongPath) {
    struct Case {
        const char* line;
        bool load, connect;
        const char* path;
    };
    const Case cases[] = {
        {"/set=\"C:\\Data\\Long Folder\"", true, true, CommandMachine::kFolder},
        {"/SET=C:\\DATA\\LONGFO~1", true, true, CommandMachine::kFolder},
        {"/set=C:\\Da\"ta\\Long Fo\"lder\"", true, true, CommandMachine::kFolder},
        {"/Cut=\"S:\\\"", true, false, "S:\\"},
        // A root to disconnect need not exist: an unreachable server, a lost folder.
        {"/cut=\"q:\\\"", true, false, "Q:\\"},
        {"/cut=Q:", true, false, "Q:\\"},
        {"/set=Q:\\", false, true, ""},
        {"/local /set=C:\\Data", false, false, ""},  // the path is read right after the switch
        {"/set", false, false, ""},
    };
    for (const Case& c : cases) {
        ContextMachine m;
        EXPECT_EQ(StartContextCommand(m.program, c.line), c.load) << c.line;
        EXPECT_EQ(m.program.context.ContextConnect, c.connect) << c.line;
        EXPECT_EQ(m.program.context.ContextPath, c.path) << c.line;
    }
}

TEST(ContextConnect, RefusalsHintAndTheLettersOffered) {
    struct Case {
        const char* path;
        bool allTaken;
        std::vector<Kind> shown;
        TextKey error;
    };
    const Case cases[] = {
        {"S:\\Sub", false, {Kind::Message}, TextKey::main_msgshell_errornew},
        {"N:\\Sub", false, {Kind::Message}, TextKey::main_msgshell_errornew},
        {"C:\\Data", true, {Kind::Message}, TextKey::main_msgshell_errornodrives},
        {"C:\\", false, {Kind::Hint, Kind::LetterPopup}, {}},
        {"\\\\srv\\share", false, {Kind::LetterPopup}, {}},
    };
    // Not C:, the remembered but inactive F:, N: or S:.
    std::vector<DriveIndex> free;
    for (char l = 'A'; l <= 'Z'; ++l)
        if (std::string("CFNS").find(l) == std::string::npos) free.push_back(DriveIndexOf(l));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ContextMachine m;
        for (DriveIndex i : c.allTaken ? free : std::vector<DriveIndex>())
            m.sim.AddDrive(DriveLetter(i), kDriveFixed);
        m.Command(true, c.path);
        ASSERT_EQ(m.Kinds(), c.shown);
        const auto& last = m.ui.Boxes().back();
        if (last.kind == Kind::Message) {
            EXPECT_EQ(m.Shown(), m.Texts({c.error}));
            EXPECT_EQ(last.caption, L"Kelvra - Verbinden");
            continue;
        }
        EXPECT_EQ(last.text, L"Kelvra - Verbinden");
        EXPECT_EQ(last.defaultText, L"Abbrechen");
        EXPECT_EQ(last.letters, free);
        EXPECT_EQ(m.Target('X'), "");  // closed without a choice
    }
}

TEST(ContextConnect, ChosenLetterTakesTheContextDefaults) {
    struct Case {
        const char* path;
        bool permanent, link;  // the context settings; the main-window ones are the opposite
        const char* type;
        const char* entry;
    };
    const Case cases[] = {
        {CommandMachine::kFolder, true, true, "SUBST (FIXED)", CommandMachine::kFolder},
        {CommandMachine::kFolder, false, true, "SUBST (FIXED)", "-"},
        {CommandMachine::kShare, true, true, "REMOTE", "-"},
        {CommandMachine::kShare, true, false, "REMOTE", "-"},
    };
    for (const Case& c : cases) {
        ContextMachine m;
        Settings& s = m.program.settings;
        s.SubstDefaultPermanentSCE = s.NetDefaultPermanentSCE = c.permanent;
        s.SubstPermanentLinkSCE = s.NetPermanentLinkSCE = c.link;
        s.SubstDefaultPermanent = s.NetDefaultPermanent = !c.permanent;
        s.SubstPermanentLink = s.NetPermanentLink = !c.link;
        m.ui.QueueLetter(DriveIndexOf('X'));
        m.Command(true, c.path);
        EXPECT_EQ(m.Row('X').Type, c.type);  // rescanned
        EXPECT_EQ(m.Entry('X'), c.entry);
        EXPECT_EQ(m.Remembered('X'), c.permanent && c.path == CommandMachine::kShare);
        sim::SimulatedWindows::ShellLink link;
        EXPECT_EQ(
            m.sim.ReadShellLink(std::string(CommandMachine::kDesktop) + "Laufwerk X.lnk", link),
            c.permanent && c.link);
        EXPECT_TRUE(m.Shown().empty());
    }
    // An answer that names no free letter maps nothing.
    for (DriveIndex letter : {DriveIndexOf('F'), DriveIndexOf('S'), 27}) {
        ContextMachine m;
        m.ui.QueueLetter(letter);
        m.Command(true, "C:\\Data");
        EXPECT_EQ(m.sim.DosDeviceTargets('S'), std::vector<std::string>{"\\??\\C:\\Other"});
        EXPECT_EQ(m.Entry('F'), "C:\\Other");
    }
}

TEST(ContextCut, AsksOnlyByTheContextWarningSetting) {
    struct Case {
        bool warnings, warningsSce, expert;
        int answer;
        bool asked, disconnected;
    };
    const Case cases[] = {
        {true, false, false, mb::kIdYes, false, true},
        {false, true, false, mb::kIdYes, true, true},
        {false, true, false, mb::kIdNo, true, false},
        {true, true, true, mb::kIdNo, false, true},
    };
    for (const Case& c : cases) {
        ContextMachine m;
        StoreDriveEntry(m.sim, 'S', "C:\\Other");
        Settings& s = m.program.settings;
        s.ShowWarnings = c.warnings;
        s.ShowWarningsSCE = c.warningsSce;
        s.ExpertMode = c.expert;
        m.ui.QueueAnswer(c.answer);
        m.Command(false, "S:\\");
        EXPECT_EQ(m.Shown().size(), c.asked ? 1u : 0u);
        EXPECT_EQ(m.Target('S').empty(), c.disconnected);
        EXPECT_EQ(m.Entry('S'), c.disconnected ? "-" : "C:\\Other");
    }
}

TEST(ContextCut, RefusesWhatIsNoSubstOrNetworkDrive) {
    // A disk, a share path (no letter at all), a VirtualBox share, a letter
    // a stick now holds.
    for (const char* path : {"C:\\", "\\\\srv\\share", "V:\\", "U:\\"}) {
        SCOPED_TRACE(path);
        ContextMachine m;
        m.sim.AddShare("\\\\vboxsvr\\v", "\\Device\\VBoxMiniRdr");
        Connect(m.sim, 'V', "\\\\vboxsvr\\v");
        m.sim.AddDrive('U', kDriveRemovable);
        StoreDriveEntry(m.sim, 'U', "C:\\Other");
        m.Command(false, path);
        ASSERT_EQ(m.Shown(), m.Texts({TextKey::main_msgshell_errorkill}));
        EXPECT_EQ(m.ui.Messages()[0].caption, L"Kelvra - Trennen");
        EXPECT_TRUE(m.sim.IsConnected('V'));
        EXPECT_EQ(m.Entry('U'), "C:\\Other");
    }
}

TEST(ContextBadInput, EndsSilentlyOrExplainedAndMapsNothingUnchosen) {
    const std::string args[] = {
        "",          "\"\"",        "\"",           kHugePath,
        kLongFolder, "C:\\Missing", "C:\\\x01\x1F", "\\\\Netz (srv)\\share"};
    for (const std::string command : {"/set=", "/cut="}) {
        for (const std::string& arg : args) {
            SCOPED_TRACE(command + arg.substr(0, 30));
            ContextMachine m;
            const bool share = arg.substr(0, 2) == "\\\\";
            ASSERT_EQ(StartContextCommand(m.program, command + arg), share);
            if (share) ContextCommand(m.program);
            for (char l = 'A'; l <= 'Z'; ++l)
                EXPECT_EQ(m.sim.DosDeviceTargets(l).size() + m.sim.IsConnected(l),
                          l == 'S' || l == 'N' ? 1u : 0u);
            // A share is offered letters with "/set=" and refused with "/cut=".
            const Kind answer = command == "/set=" ? Kind::LetterPopup : Kind::Message;
            EXPECT_EQ(m.Kinds(), share ? std::vector<Kind>{answer} : std::vector<Kind>{});
        }
    }
}

}  // namespace
}  // namespace kelvra::test
