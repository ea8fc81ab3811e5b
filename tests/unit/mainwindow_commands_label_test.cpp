#include <optional>

#include "commands_machine.h"

namespace kelvra::test {
namespace {

// A permanent subst drive X on a folder of C: (volume label "SYSTEM").
void PermanentX(CommandMachine& m, const std::string& label) {
    Subst(m.sim, 'X', CommandMachine::kFolder);
    StoreDriveEntry(m.sim, 'X', CommandMachine::kFolder, label);
    m.Scan();
    m.Select('X');
}

TEST(CommandRename, AnswersAndTheLabelTheyLeave) {
    struct Case {
        const char* own;
        std::optional<std::wstring> answer;  // nullopt: cancelled
        const char* label;                   // stored afterwards; "-" none
        std::vector<TextKey> shown;
    };
    const std::wstring tooLong(300, L'x');
    // clang-format off
    const Case cases[] = {
        {"Daten", L"*", "-", {}},
        {"Daten", L"Daten", "Daten", {}},
        {"", L"SYSTEM", "-", {}},  // the shown volume label: nothing changes
        {"Daten", L"Da:t/a?", "Data", {}},
        {"Daten", L"M\u00FCller", "M\xFCller", {}},
        {"Daten", tooLong, nullptr, {}},
        {"Daten", L"\x01\x1F", "Daten", {}},  // nothing a label may hold: it stays
        {"Daten", L"\u0141\u00F3d\u017A", "Daten", {TextKey::main_msgchars_error}},
        {"Daten", std::nullopt, "Daten", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        CommandMachine m;
        PermanentX(m, c.own);
        if (c.answer)
            m.ui.QueueInput(*c.answer);
        else
            m.ui.QueueInputCancel();
        cmdRename_Click(m.program);
        ASSERT_FALSE(m.ui.Boxes().empty());
        EXPECT_EQ(m.ui.Boxes()[0].defaultText, *c.own ? L"Daten" : L"SYSTEM");
        EXPECT_EQ(m.LabelEntry('X'), c.label ? c.label : std::string(256, 'x'));
        EXPECT_EQ(m.Shown(), m.Texts(c.shown));
        EXPECT_FALSE(m.program.main.Busy);
    }
}

TEST(CommandLink, NamesDescriptionsAndFailures) {
    struct Case {
        const char* name;
        bool silent;
        const char* own;  // own label of X
        std::optional<std::wstring> answer;
        const char* file;  // on the desktop; nullptr: none made
        std::vector<TextKey> shown;
    };
    // The desktop folder (41 characters) and ".lnk" leave 214 for the name.
    const std::string cut = std::string(214, 'y') + ".lnk";
    // clang-format off
    const Case cases[] = {
        {"own label", false, "Daten", std::nullopt, "Laufwerk X (Daten).lnk", {}},
        {"volume label", false, "", std::nullopt, "Laufwerk X (SYSTEM).lnk", {}},
        {"silent", true, "Daten", std::nullopt, "Laufwerk X.lnk", {}},
        {"forbidden characters dropped", false, "", L"a/b:c*", "abc.lnk", {}},
        {"nothing left", false, "", L"?:\x01 .", nullptr, {TextKey::main_msglink_errorname}},
        {"outside the code page", false, "", L"\u0141\u00F3d\u017A", nullptr, {TextKey::main_msgchars_error}},
        {"cut to fit a path", false, "", std::wstring(300, L'y'), cut.c_str(), {}},
        {"cancelled", false, "", L"", nullptr, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        PermanentX(m, c.own);
        if (c.answer) m.ui.QueueInput(*c.answer);
        if (c.silent)
            CreateDesktopShortcut(m.program, DriveIndexOf('X'), true);
        else
            cmdLink_Click(m.program);
        EXPECT_EQ(m.ui.Boxes().size(), (c.silent ? 0u : 1u) + c.shown.size());
        EXPECT_EQ(m.Shown(), m.Texts(c.shown));
        sim::SimulatedWindows::ShellLink link;
        const bool made =
            c.file && m.sim.ReadShellLink(std::string(CommandMachine::kDesktop) + c.file, link);
        EXPECT_EQ(made, c.file != nullptr);
        if (!made) continue;
        EXPECT_EQ(link.target, "X:");
        EXPECT_EQ(link.description, L"Pfad: C:\\Data\\Long Folder  (Erzeugt von Kelvra)");
        EXPECT_EQ(link.arguments + link.workingFolder, "");
    }
}

TEST(CommandLink, NamesAreCutToTheRoomTheDesktopFolderLeaves) {
    struct Case {
        const char* name;
        std::size_t desktop;  // length of the desktop folder with its backslash
        std::wstring answer;
        const char* file;  // nullptr: none made
        std::vector<TextKey> shown;
    };
    // clang-format off
    const Case cases[] = {
        {"room for one character", 254, L"Laufwerk X", "L", {}},
        {"no room at all", 255, L"Laufwerk X", nullptr, {TextKey::main_msglink_errorcreate}},
        {"the part kept names nothing", 200, std::wstring(60, L' ') + L"x", nullptr,
         {TextKey::main_msglink_errorname}},
        {"a short name stays", 200, L"Laufwerk X", "Laufwerk X", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandMachine m;
        const std::string desktop = "C:\\" + std::string(c.desktop - 4, 'd') + "\\";
        m.sim.AddFolder(desktop);
        m.sim.SetRegistryString(
            kHkeyCurrentUser,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
            desktop);
        PermanentX(m, "");
        m.ui.QueueInput(c.answer);
        cmdLink_Click(m.program);
        EXPECT_EQ(m.Shown(), m.Texts(c.shown));
        sim::SimulatedWindows::ShellLink link;
        EXPECT_EQ(m.sim.ReadShellLink(desktop + (c.file ? c.file : "") + ".lnk", link),
                  c.file != nullptr);
    }
}

TEST(CommandLink, LetterTakenByAnotherDeviceNamesTheLetter) {
    CommandMachine m;
    StoreDriveEntry(m.sim, 'X', CommandMachine::kFolder);
    m.sim.AddDrive('X', kDriveRemovable, "STICK");
    m.Scan();
    CreateDesktopShortcut(m.program, DriveIndexOf('X'), true);
    sim::SimulatedWindows::ShellLink link;
    ASSERT_TRUE(
        m.sim.ReadShellLink(std::string(CommandMachine::kDesktop) + "Laufwerk X.lnk", link));
    EXPECT_EQ(link.description, L"Pfad: X:\\  (Erzeugt von Kelvra)");
}

TEST(CommandLink, DesktopFolderValue) {
    const std::string shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    struct Case {
        const char* desktop;
        bool reported;
    };
    const Case cases[] = {{"", false}, {"C:\\No Desktop", true}, {"C:\\Read Only", true}};
    for (const Case& c : cases) {
        CommandMachine m;
        m.sim.AddFolder("C:\\Read Only");
        m.sim.SetFolderReadOnly("C:\\Read Only");
        m.sim.SetRegistryString(kHkeyCurrentUser, shellFolders, "Desktop", c.desktop);
        PermanentX(m, "");
        CreateDesktopShortcut(m.program, DriveIndexOf('X'), true);
        EXPECT_EQ(m.Shown(), c.reported ? m.Texts({TextKey::main_msglink_errorcreate})
                                        : std::vector<std::wstring>{})
            << c.desktop;
    }
}

}  // namespace
}  // namespace kelvra::test
