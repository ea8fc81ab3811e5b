#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/config.h"
#include "config_machine.h"
#include "language/language.h"

namespace kelvra::test {
namespace {

using Names = std::vector<std::string>;

const std::string kLanguages = std::string(TestMachine::kProgramFolder) + "languages\\";
const char kEnglish[] = "config_title=Configuration\r\nmain_cmdnew=&Connect\r\n";

TEST(ConfigLanguages, BoxListsThePacksThatLoadLanguageWouldLoad) {
    const struct {
        const char* what;
        Names files;  // in languages\ (a trailing "\" makes a folder)
        Names entries;
    } cases[] = {
        {"no folder", {}, {"Deutsch"}},
        {"empty folder", {"\\"}, {"Deutsch"}},
        {"two packs", {"English.lng", "francais.lng"}, {"Deutsch", "English", "Francais"}},
        {"German pack", {"deutsch.lng", "English.LNG"}, {"Deutsch", "English"}},
        {"upper-case German", {"DEUTSCH.lng"}, {"Deutsch", "DEUTSCH"}},
        {"accented first letter", {"\xEBlan.lng"}, {"Deutsch", "\xCBlan"}},
        // "notes.lngx" matches "*.lng" by its short name NOTES~1.LNG.
        {"other files", {"notes.lngx", "readme.txt", ".lng", "sub.lng\\"}, {"Deutsch"}},
        {"dots", {"a..b.lng", "x.y.lng"}, {"Deutsch", "X.y"}},
    };
    for (const auto& c : cases) {
        sim::SimulatedWindows sim;
        for (const std::string& file : c.files) {
            if (file.back() == '\\')
                sim.AddFolder(kLanguages + file);
            else
                sim.AddFile(kLanguages + file, "x");
        }
        EXPECT_EQ(LanguageEntries(sim, TestMachine::kProgramFolder), c.entries) << c.what;
    }
}

TEST(ConfigLanguages, SelectionFollowsTheSettingExactly) {
    const struct {
        const char* language;
        Names files;
        int selected;
        bool enabled;
    } cases[] = {
        {"Deutsch", {}, 0, false},
        {"English", {}, 0, false},  // the pack is gone: "Deutsch" shows
        {"English", {"English.lng"}, 1, true},
        {"english", {"English.lng"}, 0, true},
        {"Francais", {"English.lng", "francais.lng"}, 2, true},
    };
    for (const auto& c : cases) {
        ConfigMachine cm;
        for (const std::string& file : c.files) cm.m.sim.AddFile(kLanguages + file, "x");
        cm.settings().Language = c.language;
        cm.form.Load();
        EXPECT_EQ(cm.view.languages.selected, c.selected) << c.language;
        EXPECT_EQ(cm.view.languages.enabled, c.enabled) << c.language;
        // Opening the window never rewrites the setting.
        EXPECT_EQ(cm.settings().Language, c.language);
    }
}

TEST(ConfigLanguages, ChoosingAPackRelabelsBothWindowsAtOnce) {
    ConfigMachine cm;
    cm.m.sim.AddFile(kLanguages + "english.lng", kEnglish);
    cm.form.Load();
    ASSERT_EQ(cm.view.languages.names, (Names{"Deutsch", "English"}));
    const int textsBefore = cm.view.textsCalls;

    cm.form.LanguageClick(1);
    EXPECT_EQ(cm.settings().Language, "English");  // as the box wrote it
    EXPECT_EQ(Text(cm.program().language, TextKey::main_cmdnew), L"&Connect");
    EXPECT_EQ(cm.mainView.languageCalls, 1);
    EXPECT_GE(cm.mainView.showRowsCalls, 1);
    EXPECT_EQ(cm.view.textsCalls, textsBefore + 1);
    EXPECT_EQ(cm.view.texts.title, L"Kelvra V1.0.1 - Configuration");
    EXPECT_EQ(cm.view.texts.frames[static_cast<int>(Frame::Lang)], kLanguageFrameCaption);

    cm.form.LanguageClick(0);
    EXPECT_EQ(cm.settings().Language, "Deutsch");
    EXPECT_EQ(cm.view.texts.title, L"Kelvra V1.0.1 - Konfiguration");
    EXPECT_EQ(Text(cm.program().language, TextKey::main_cmdnew), L"&Verbinden");

    cm.form.LanguageClick(2);  // no such entry
    cm.form.LanguageClick(-1);
    EXPECT_EQ(cm.settings().Language, "Deutsch");
    EXPECT_EQ(cm.mainView.languageCalls, 2);
}

TEST(ConfigLanguages, AChosenPackThatCannotBeUsedIsNamedOnce) {
    ConfigMachine cm;
    // UTF-16, which packs are not.
    cm.m.sim.AddFile(kLanguages + "Junk.lng", std::string("\xFF\xFEm\0a\0i\0n\0", 10));
    cm.form.Load();
    ASSERT_EQ(cm.view.languages.names, (Names{"Deutsch", "Junk"}));
    cm.form.LanguageClick(1);
    const auto boxes = cm.m.ui.Messages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"languages\\Junk.lng"), std::wstring::npos);
    EXPECT_EQ(Text(cm.program().language, TextKey::main_cmdnew), L"&Verbinden");
    cm.form.LanguageClick(0);
    EXPECT_EQ(cm.m.ui.Messages().size(), 1u);
}

// A Language value from an edited settings file must not load a pack, or
// name a help file, outside the program's own folders.
TEST(LanguageName, PathsInTheSettingLoadNothing) {
    const std::string folder = TestMachine::kProgramFolder;
    const struct {
        const char* language;
        const char* planted;  // where the path would lead, as a pack
    } cases[] = {
        {"..\\Evil", "C:\\Program Files\\Kelvra\\Evil.lng"},
        {"..\\..\\Evil", "C:\\Program Files\\Evil.lng"},
        {"C:\\Temp\\Evil", "C:\\Temp\\Evil.lng"},
        {"\\\\srv\\share\\Evil", "\\\\srv\\share\\Evil.lng"},
        {"sub/Evil", "C:\\Program Files\\Kelvra\\languages\\sub\\Evil.lng"},
        {"sub\\Evil", "C:\\Program Files\\Kelvra\\languages\\sub\\Evil.lng"},
        {"C:Evil", "C:\\Evil.lng"},
    };
    for (const auto& c : cases) {
        TestMachine m;
        Program& program = m.Started();
        m.sim.AddShare("\\\\srv\\share");
        m.sim.AddFile(c.planted, "main_cmdnew=&Evil\r\n");
        const std::string plantedHelp = std::string(c.planted, std::strlen(c.planted) - 4) + ".chm";
        m.sim.AddFile(plantedHelp, "x");
        m.sim.AddFile(folder + "helpfiles\\" + c.language + ".chm", "x");
        m.sim.AddFile(folder + "helpfiles\\English.chm", "x");
        program.settings.Language = c.language;
        LoadLanguage(program);
        EXPECT_EQ(program.language.texts, BuiltInTexts()) << c.language;
        EXPECT_EQ(program.language.HelpFile, folder + "helpfiles\\English.chm") << c.language;
        EXPECT_FALSE(IsLanguageName(c.language)) << c.language;
    }
    for (const char* name : {"English",
                             "Fran\xE7"
                             "ais",
                             "x.y", "Deutsch", ""})
        EXPECT_TRUE(IsLanguageName(name)) << name;
}

}  // namespace
}  // namespace kelvra::test
