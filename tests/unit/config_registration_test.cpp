#include <gtest/gtest.h>

#include <string>

#include "config/config.h"
#include "config/registration.h"
#include "config_machine.h"
#include "platform/inireg.h"

namespace kelvra::test {
namespace {

const char kFolderKey[] = "directory\\shell\\Kelvra - Laufwerk verbinden...";
const char kDriveKey[] = "drive\\shell\\Kelvra - Laufwerk trennen";
const char kFolderLine[] = "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /set=\"%1\"";
const char kDriveLine[] = "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /cut=\"%1\"";
const wchar_t kAdminText[] =
    L"Der aktuelle Benutzer ist kein Administrator!\r\n\r\n"
    L"Bitte als Administrator anmelden und Vorgang wiederholen.";

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
    EXPECT_EQ(FolderVerbKey("X"), "directory\\shell\\Kelvra - X");
    EXPECT_EQ(DriveVerbKey("X"), "drive\\shell\\Kelvra - X");
}

TEST_F(Registry, TickingRegistersFourKeysAndTwoValues) {
    cm.form.Load();
    cm.m.sim.ResetCalls();
    EXPECT_EQ(ClickShellBox(kChecked), kChecked);
    EXPECT_TRUE(cm.m.ui.Messages().empty());

    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextNew"), "Laufwerk verbinden...");
    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextKill"), "Laufwerk trennen");
    EXPECT_EQ(Value(kHkeyClassesRoot, std::string(kFolderKey) + "\\command", ""), kFolderLine);
    EXPECT_EQ(Value(kHkeyClassesRoot, std::string(kDriveKey) + "\\command", ""), kDriveLine);
    EXPECT_EQ(Value(kHkeyClassesRoot, kFolderKey, ""), "<missing>");
    EXPECT_EQ(Value(kHkeyClassesRoot, kDriveKey, ""), "<missing>");
    // Nothing else: the program key and the four verb keys, four values.
    EXPECT_EQ(cm.m.sim.Calls("RegCreateKeyEx"), 5);
    EXPECT_EQ(cm.m.sim.Calls("RegSetValueEx"), 4);
    EXPECT_EQ(cm.m.sim.Calls("RegDeleteKey") + cm.m.sim.Calls("RegDeleteValue"), 0);
}

TEST_F(Registry, OnWindows98TheDriveCommandGoesThroughTheLauncher) {
    cm.program().startup.IsNT = false;
    cm.program().startup.IsWin9x = true;
    ASSERT_TRUE(RegisterContextMenu(cm.program()));
    EXPECT_EQ(Value(kHkeyClassesRoot, std::string(kFolderKey) + "\\command", ""), kFolderLine);
    EXPECT_EQ(Value(kHkeyClassesRoot, std::string(kDriveKey) + "\\command", ""),
              "\"C:\\Program Files\\Kelvra\\Kelvrashell.exe\" /cut=\"%1\"");
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
        EXPECT_FALSE(Key(kHkeyClassesRoot, std::string(key) + "\\command")) << key;
        EXPECT_FALSE(Key(kHkeyClassesRoot, key)) << key;
    }
    EXPECT_FALSE(Key(kHkeyClassesRoot, "directory\\shell\\Kelvra - Connect drive..."));
    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextNew"), "<missing>");
    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextKill"), "<missing>");

    // Registered again now: the English captions.
    EXPECT_EQ(ClickShellBox(kChecked), kChecked);
    EXPECT_TRUE(Key(kHkeyClassesRoot, "drive\\shell\\Kelvra - Disconnect drive\\command"));
}

TEST_F(Registry, RemovingWithoutTheFolderCaptionRemovesOnlyTheDriveEntry) {
    ASSERT_TRUE(RegisterContextMenu(cm.program()));
    ASSERT_EQ(RegDeleteValue(cm.m.sim, kHkeyLocalMachine, kProgramKey, "ShellContextNew"), 0);
    EXPECT_FALSE(IsContextMenuRegistered(cm.program()));
    EXPECT_TRUE(RemoveContextMenu(cm.program()));
    EXPECT_TRUE(cm.m.ui.Messages().empty());
    EXPECT_TRUE(Key(kHkeyClassesRoot, std::string(kFolderKey) + "\\command"));
    EXPECT_FALSE(Key(kHkeyClassesRoot, kDriveKey));
    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextKill"), "<missing>");
}

TEST_F(Registry, RegisteredMeansAFolderCommandUnderTheStoredCaption) {
    EXPECT_FALSE(IsContextMenuRegistered(cm.program()));
    cm.m.sim.SetRegistryString(kHkeyLocalMachine, kProgramKey, "ShellContextNew", "X");
    cm.m.sim.SetRegistryString(kHkeyClassesRoot, "directory\\shell\\Kelvra - X\\command", "", "");
    EXPECT_FALSE(IsContextMenuRegistered(cm.program()));
    cm.m.sim.SetRegistryString(kHkeyClassesRoot, "directory\\shell\\Kelvra - X\\command", "", "y");
    EXPECT_TRUE(IsContextMenuRegistered(cm.program()));
    // The drive command is not consulted.
    EXPECT_FALSE(Key(kHkeyClassesRoot, "drive\\shell"));
}

TEST_F(Registry, EveryFailedStepStopsWithTheAdministratorMessage) {
    const struct {
        const char* what;
        bool registeredBefore;
        RegKey root;
        const char* denied;
        int boxAfter;
        bool folderKey, driveKey;  // left in place
    } cases[] = {
        {"program key", false, kHkeyLocalMachine, "Software\\Brannock", kUnchecked, false, false},
        {"caption value", false, kHkeyLocalMachine, kProgramKey, kUnchecked, false, false},
        {"folder key", false, kHkeyClassesRoot, "directory\\shell", kUnchecked, false, false},
        {"folder command", false, kHkeyClassesRoot,
         "directory\\shell\\Kelvra - Laufwerk verbinden...\\command", kUnchecked, true, false},
        // The folder entry is complete, so the box shows registered.
        {"drive key", false, kHkeyClassesRoot, "drive\\shell", kChecked, true, false},
        {"drive command", false, kHkeyClassesRoot,
         "drive\\shell\\Kelvra - Laufwerk trennen\\command", kChecked, true, true},
        {"delete folder command", true, kHkeyClassesRoot,
         "directory\\shell\\Kelvra - Laufwerk verbinden...", kChecked, true, true},
        {"delete folder key", true, kHkeyClassesRoot, "directory\\shell", kUnchecked, true, true},
        {"delete caption value", true, kHkeyLocalMachine, kProgramKey, kUnchecked, false, true},
        {"delete drive key", true, kHkeyClassesRoot, "drive\\shell", kUnchecked, false, true},
    };
    for (const auto& c : cases) {
        ConfigMachine local;
        if (c.registeredBefore) {
            ASSERT_TRUE(RegisterContextMenu(local.program())) << c.what;
        }
        local.m.sim.DenyRegistryWrites(c.root, c.denied);
        local.form.Load();
        local.form.CheckBoxClick(CheckBox::Shellcontext,
                                 c.registeredBefore ? kUnchecked : kChecked);

        const auto messages = local.m.ui.Messages();
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_EQ(messages[0].text, kAdminText) << c.what;
        EXPECT_EQ(messages[0].caption, L"Kelvra - Shell Kontext Erweiterung") << c.what;
        EXPECT_EQ(messages[0].style, mb::kOk | mb::kIconExclamation) << c.what;
        EXPECT_EQ(local.view[CheckBox::Shellcontext].value, c.boxAfter) << c.what;
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyClassesRoot, kFolderKey), c.folderKey)
            << c.what;
        EXPECT_EQ(local.m.sim.RegistryKeyExists(kHkeyClassesRoot, kDriveKey), c.driveKey) << c.what;
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
    EXPECT_TRUE(Key(kHkeyClassesRoot, "directory\\shell\\Kelvra - \\command"));
    EXPECT_TRUE(IsContextMenuRegistered(cm.program()));
    ASSERT_EQ(RegDeleteKey(cm.m.sim, kHkeyClassesRoot, "drive\\shell\\Kelvra - \\command"), 0);
    ASSERT_EQ(RegDeleteKey(cm.m.sim, kHkeyClassesRoot, "drive\\shell\\Kelvra - "), 0);

    EXPECT_TRUE(RemoveContextMenu(cm.program()));
    EXPECT_TRUE(cm.m.ui.Messages().empty());
    EXPECT_FALSE(Key(kHkeyClassesRoot, "directory\\shell\\Kelvra - "));
    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextNew"), "<missing>");
    EXPECT_EQ(Value(kHkeyLocalMachine, kProgramKey, "ShellContextKill"), "<missing>");
    EXPECT_FALSE(IsContextMenuRegistered(cm.program()));
}

}  // namespace
}  // namespace kelvra::test
