#include <gtest/gtest.h>

#include <string>

#include "config/config.h"
#include "config/registration.h"
#include "config_machine.h"
#include "platform/inireg.h"

namespace kelvra::test {
namespace {

const char kFolderKey[] = "Software\\Classes\\Directory\\shell\\Kelvra - Laufwerk verbinden...";
const char kDriveKey[] = "Software\\Classes\\Drive\\shell\\Kelvra - Laufwerk trennen";
const char kFolderLine[] = "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /set=\"%1\"";
const char kDriveLine[] = "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /cut=\"%1\"";
// The keys of the English captions; an earlier version's machine-wide ones.
const char kEnglishFolderKey[] = "Software\\Classes\\Directory\\shell\\Kelvra - Connect drive...";
const char kEnglishDriveKey[] = "Software\\Classes\\Drive\\shell\\Kelvra - Disconnect drive";
const wchar_t kAdminText[] =
    L"Der aktuelle Benutzer ist kein Administrator!\r\n\r\n"
    L"Bitte als Administrator anmelden und Vorgang wiederholen.";
const wchar_t kUserText[] =
    L"Die Eintr\u00E4ge des Kontextmen\u00FCs konnten in der Registrierung nicht ge\u00E4ndert "
    L"werden.";

struct Registry : ::testing::Test {
    // The value and its type as the program reads it; "<missing>" when absent.
    std::string Value(RegKey root, const std::string& key, const std::string& name) {
        std::string value = "<missing>";
        std::string type;
        RegGetValue(cm.m.sim, root, key, name, value, type);
        return type.empty() || type == "SZ" ? value : type + ":" + value;
    }
    bool Key(RegKey root, const std::string& key) { return cm.m.sim.RegistryKeyExists(root, key); }
    // What the configuration window shows after a click on the box.
    int ClickShellBox(int value) {
        cm.form.CheckBoxClick(CheckBox::Shellcontext, value);
        return cm.view[CheckBox::Shellcontext].value;
    }
    ConfigMachine cm;
};

TEST_F(Registry, CommandLinesQuoteTheProgramAndTheArgumentOnly) {
    EXPECT_EQ(FolderCommandLine("C:\\P\\"), "\"C:\\P\\Kelvra.exe\" /set=\"%1\"");
    EXPECT_EQ(DriveCommandLine("C:\\P\\", true), "\"C:\\P\\Kelvra.exe\" /cut=\"%1\"");
    EXPECT_EQ(DriveCommandLine("C:\\P\\", false), "\"C:\\P\\Kelvrashell.exe\" /cut=\"%1\"");
}

TEST_F(Registry, TickingRegistersFourKeysAndTwoValuesForTheUser) {
    cm.form.Load();
    cm.m.sim.ResetCalls();
    EXPECT_EQ(ClickShellBox(kChecked), kChecked);
    EXPECT_TRUE(cm.m.ui.Messages().empty());

    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextNew"), "Laufwerk verbinden...");
    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextKill"), "Laufwerk trennen");
    EXPECT_EQ(Value(kHkeyCurrentUser, std::string(kFolderKey) + "\\command", ""), kFolderLine);
    EXPECT_EQ(Value(kHkeyCurrentUser, std::string(kDriveKey) + "\\command", ""), kDriveLine);
    EXPECT_EQ(Value(kHkeyCurrentUser, kFolderKey, ""), "<missing>");
    EXPECT_EQ(Value(kHkeyCurrentUser, kDriveKey, ""), "<missing>");
    // Nothing else: the program key and the four verb keys, four values.
    EXPECT_EQ(cm.m.sim.Calls("RegCreateKeyEx"), 5);
    EXPECT_EQ(cm.m.sim.Calls("RegSetValueEx"), 4);
    EXPECT_EQ(cm.m.sim.Calls("RegDeleteKey") + cm.m.sim.Calls("RegDeleteValue"), 0);
    EXPECT_FALSE(Key(kHkeyLocalMachine, "Software\\Brannock"));
}

// Windows 98 and ME know no per-user classes: machine-wide, as always there.
TEST_F(Registry, OnWindows98TheEntriesAreMachineWideAndTheDriveGoesThroughTheLauncher) {
    cm.program().startup.IsNT = false;
    cm.program().startup.IsWin9x = true;
    ASSERT_TRUE(RegisterContextMenu(cm.program()));
    EXPECT_EQ(Value(kHkeyLocalMachine, std::string(kFolderKey) + "\\command", ""), kFolderLine);
    EXPECT_EQ(Value(kHkeyLocalMachine, std::string(kDriveKey) + "\\command", ""),
              "\"C:\\Program Files\\Kelvra\\Kelvrashell.exe\" /cut=\"%1\"");
    EXPECT_FALSE(Key(kHkeyCurrentUser, "Software\\Classes\\Directory"));
    EXPECT_TRUE(RemoveContextMenu(cm.program()));
    EXPECT_FALSE(Key(kHkeyLocalMachine, kFolderKey));
}

TEST_F(Registry, ClearingRemovesTheKeysNamedInTheLanguageOfRegistration) {
    cm.m.sim.AddFile(std::string(TestMachine::kProgramFolder) + "languages\\English.lng",
                     "config_shell_new=Connect drive...\r\nconfig_shell_kill=Disconnect drive\r\n");
    cm.form.Load();
    ASSERT_EQ(ClickShellBox(kChecked), kChecked);
    cm.form.LanguageClick(1);  // English
    ASSERT_EQ(cm.settings().Language, "English");
    EXPECT_EQ(cm.view[CheckBox::Shellcontext].value, kChecked);

    EXPECT_EQ(ClickShellBox(kUnchecked), kUnchecked);
    EXPECT_TRUE(cm.m.ui.Messages().empty());
    for (const char* key : {kFolderKey, kDriveKey}) {
        EXPECT_FALSE(Key(kHkeyCurrentUser, std::string(key) + "\\command")) << key;
        EXPECT_FALSE(Key(kHkeyCurrentUser, key)) << key;
    }
    EXPECT_FALSE(Key(kHkeyCurrentUser, kEnglishFolderKey));
    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextNew"), "<missing>");
    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextKill"), "<missing>");

    // Registered again now: the English captions.
    EXPECT_EQ(ClickShellBox(kChecked), kChecked);
    EXPECT_TRUE(Key(kHkeyCurrentUser, std::string(kEnglishDriveKey) + "\\command"));
}

// Any one entry Explorer shows counts, so that the box never hides an entry
// that is left after a removal stopped half-way.
TEST_F(Registry, RegisteredMeansAnyCommandUnderItsStoredCaption) {
    const struct {
        RegKey root;
        const char* caption;
        const char* key;
    } entries[] = {
        {kHkeyCurrentUser, "ShellContextNew", "Software\\Classes\\Directory\\shell\\Kelvra - X"},
        {kHkeyCurrentUser, "ShellContextKill", "Software\\Classes\\Drive\\shell\\Kelvra - X"},
        {kHkeyLocalMachine, "ShellContextNew", "Software\\Classes\\Directory\\shell\\Kelvra - X"},
        {kHkeyLocalMachine, "ShellContextKill", "Software\\Classes\\Drive\\shell\\Kelvra - X"},
    };
    for (const auto& e : entries) {
        SCOPED_TRACE(std::string(e.key) + " " + e.caption);
        ConfigMachine local;
        local.m.sim.SetRegistryString(e.root, std::string(e.key) + "\\command", "", "y");
        EXPECT_FALSE(IsContextMenuRegistered(local.program())) << "no caption";
        local.m.sim.SetRegistryString(e.root, kProgramKey, e.caption, "X");
        EXPECT_TRUE(IsContextMenuRegistered(local.program()));
        local.m.sim.SetRegistryString(e.root, std::string(e.key) + "\\command", "", "");
        EXPECT_FALSE(IsContextMenuRegistered(local.program())) << "empty command";
    }
}

TEST_F(Registry, RemovingWithoutTheFolderCaptionRemovesOnlyTheDriveEntry) {
    ASSERT_TRUE(RegisterContextMenu(cm.program()));
    ASSERT_EQ(RegDeleteValue(cm.m.sim, kHkeyCurrentUser, kProgramKey, "ShellContextNew"), 0);
    EXPECT_TRUE(RemoveContextMenu(cm.program()));
    EXPECT_TRUE(cm.m.ui.Messages().empty());
    EXPECT_TRUE(Key(kHkeyCurrentUser, std::string(kFolderKey) + "\\command"));
    EXPECT_FALSE(Key(kHkeyCurrentUser, kDriveKey));
    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextKill"), "<missing>");
    EXPECT_FALSE(IsContextMenuRegistered(cm.program()));
}

TEST_F(Registry, AFailedStepInTheUsersKeysStopsWithAMessageThatBlamesNoRights) {
    const struct {
        const char* what;
        bool registeredBefore;
        const char* denied;
        int boxAfter;
        bool folderKey, driveKey;  // left in place
    } cases[] = {
        {"program key", false, "Software\\Brannock", kUnchecked, false, false},
        {"caption value", false, kProgramKey, kUnchecked, false, false},
        {"folder key", false, "Software\\Classes\\Directory\\shell", kUnchecked, false, false},
        {"folder command", false,
         "Software\\Classes\\Directory\\shell\\Kelvra - Laufwerk verbinden...\\command", kUnchecked,
         true, false},
        // The folder entry is complete, so the box shows registered.
        {"drive key", false, "Software\\Classes\\Drive\\shell", kChecked, true, false},
        {"drive command", false,
         "Software\\Classes\\Drive\\shell\\Kelvra - Laufwerk trennen\\command", kChecked, true,
         true},
        // Removal goes on with the other entry.
        {"delete folder command", true, kFolderKey, kChecked, true, false},
        {"delete folder key", true, "Software\\Classes\\Directory\\shell", kUnchecked, true, false},
        {"delete caption values", true, kProgramKey, kUnchecked, false, false},
        {"delete drive key", true, "Software\\Classes\\Drive\\shell", kUnchecked, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigMachine local;
        if (c.registeredBefore) {
            ASSERT_TRUE(RegisterContextMenu(local.program()));
        }
        local.m.sim.DenyRegistryWrites(kHkeyCurrentUser, c.denied);
        local.form.Load();
        local.form.CheckBoxClick(CheckBox::Shellcontext,
                                 c.registeredBefore ? kUnchecked : kChecked);

        const auto messages = local.m.ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, kUserText);
        EXPECT_EQ(messages[0].caption, L"Kelvra - Shell Kontext Erweiterung");
        EXPECT_EQ(messages[0].style, mb::kOk | mb::kIconExclamation);
        EXPECT_EQ(local.view[CheckBox::Shellcontext].value, c.boxAfter);
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyCurrentUser, kFolderKey), c.folderKey);
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyCurrentUser, kDriveKey), c.driveKey);
    }
}

// The user's entries beside those an earlier version made machine-wide (in
// English), with and without the rights to change HKLM: Explorer never
// shows two entries of ours, and the box shows what is left.
TEST_F(Registry, MachineWideEntriesOfAnEarlierVersionAreTakenOverWhereTheRightsAllow) {
    enum Action { Tick, Clear };
    enum Message { None, Admin };
    const struct {
        const char* what;
        bool oldFolder, oldDrive, userBefore, machineDenied;
        Action action;
        bool userFolder, userDrive, oldFolderAfter, oldDriveAfter;
        Message message;
        int boxAfter;
    } cases[] = {
        {"no rights needed", false, false, false, true, Tick, true, true, false, false, None,
         kChecked},
        {"taken over", true, true, false, false, Tick, true, true, false, false, None, kChecked},
        {"kept where they cannot go", true, true, false, true, Tick, false, false, true, true, None,
         kChecked},
        {"only the missing one added", true, false, false, true, Tick, false, true, true, false,
         None, kChecked},
        {"the user's removed without rights", false, false, true, true, Clear, false, false, false,
         false, None, kUnchecked},
        {"all removed", true, true, true, false, Clear, false, false, false, false, None,
         kUnchecked},
        {"the user's removed, machine-wide left", true, true, true, true, Clear, false, false, true,
         true, Admin, kChecked},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigMachine local;
        if (c.userBefore) {
            ASSERT_TRUE(RegisterContextMenu(local.program()));
        }
        if (c.oldFolder) {
            local.m.sim.SetRegistryString(kHkeyLocalMachine, kProgramKey, "ShellContextNew",
                                          "Connect drive...");
            local.m.sim.SetRegistryString(
                kHkeyLocalMachine, std::string(kEnglishFolderKey) + "\\command", "", kFolderLine);
        }
        if (c.oldDrive) {
            local.m.sim.SetRegistryString(kHkeyLocalMachine, kProgramKey, "ShellContextKill",
                                          "Disconnect drive");
            local.m.sim.SetRegistryString(
                kHkeyLocalMachine, std::string(kEnglishDriveKey) + "\\command", "", kDriveLine);
        }
        if (c.machineDenied) local.m.sim.DenyRegistryWritesBelow(kHkeyLocalMachine);
        local.form.Load();
        EXPECT_EQ(local.view[CheckBox::Shellcontext].value,
                  c.oldFolder || c.oldDrive || c.userBefore ? kChecked : kUnchecked);

        if (c.action == Tick)
            RegisterContextMenu(local.program());
        else
            local.form.CheckBoxClick(CheckBox::Shellcontext, kUnchecked);
        local.form.Load();

        const auto messages = local.m.ui.Messages();
        ASSERT_EQ(messages.size(), c.message == None ? 0u : 1u);
        if (c.message == Admin) {
            EXPECT_EQ(messages[0].text, kAdminText);
        }
        EXPECT_EQ(local.view[CheckBox::Shellcontext].value, c.boxAfter);
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyCurrentUser, kFolderKey), c.userFolder);
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyCurrentUser, kDriveKey), c.userDrive);
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyLocalMachine, kEnglishFolderKey),
                  c.oldFolderAfter);
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyLocalMachine, kEnglishDriveKey),
                  c.oldDriveAfter);
        std::string caption;
        EXPECT_EQ(
            local.m.sim.RegistryValue(kHkeyLocalMachine, kProgramKey, "ShellContextNew", caption),
            c.oldFolderAfter);
    }
}

TEST_F(Registry, NotOnAFixedLocalDiskTheBoxIsDisabledAndWritesNothing) {
    cm.program().startup.Local = false;
    cm.form.Load();
    EXPECT_FALSE(cm.view[CheckBox::Shellcontext].enabled);
    cm.m.sim.ResetCalls();
    EXPECT_EQ(ClickShellBox(kChecked), kUnchecked);
    EXPECT_EQ(cm.m.sim.Calls("RegCreateKeyEx") + cm.m.sim.Calls("RegOpenKeyEx"), 0);
    EXPECT_TRUE(cm.m.ui.Messages().empty());
}

// A pack with empty captions registers keys named "Kelvra - "; they must
// stay removable. Keys removed by hand count as removed.
TEST_F(Registry, EmptyCaptionsAndKeysAlreadyGoneStillRemoveCleanly) {
    cm.program().language.texts[Index(TextKey::config_shell_new)].clear();
    cm.program().language.texts[Index(TextKey::config_shell_kill)].clear();
    ASSERT_TRUE(RegisterContextMenu(cm.program()));
    EXPECT_TRUE(Key(kHkeyCurrentUser, FolderVerbKey("") + "\\command"));
    EXPECT_TRUE(IsContextMenuRegistered(cm.program()));
    ASSERT_EQ(RegDeleteKey(cm.m.sim, kHkeyCurrentUser, DriveVerbKey("") + "\\command"), 0);
    ASSERT_EQ(RegDeleteKey(cm.m.sim, kHkeyCurrentUser, DriveVerbKey("")), 0);

    EXPECT_TRUE(RemoveContextMenu(cm.program()));
    EXPECT_TRUE(cm.m.ui.Messages().empty());
    EXPECT_FALSE(Key(kHkeyCurrentUser, FolderVerbKey("")));
    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextNew"), "<missing>");
    EXPECT_EQ(Value(kHkeyCurrentUser, kProgramKey, "ShellContextKill"), "<missing>");
    EXPECT_FALSE(IsContextMenuRegistered(cm.program()));
}

}  // namespace
}  // namespace kelvra::test
