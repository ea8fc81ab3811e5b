#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "config/config.h"
#include "config_machine.h"
#include "language/language.h"

namespace kelvra::test {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(ConfigTable, CaptionsFollowTheControlNamesAndTabsHoldTheirBoxes) {
    std::set<std::string> names;
    int perTab[kTabCount + 1] = {};
    for (const CheckBoxInfo& info : CheckBoxes()) {
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        EXPECT_EQ(TextKeyName(info.caption), "config_" + Lower(info.name));
        EXPECT_EQ(&Info(info.box), &info) << info.name;
        ++perTab[TabOf(info.box)];
    }
    for (const FrameInfo& info : Frames()) {
        if (info.frame != Frame::Lang) {
            EXPECT_EQ(TextKeyName(info.caption), "config_" + Lower(info.name));
        }
        EXPECT_EQ(Info(info.parent).tab, info.tab) << info.name;
    }
    EXPECT_EQ(perTab[1], 14);
    EXPECT_EQ(perTab[2], 11);
    EXPECT_EQ(perTab[3], 1);
    EXPECT_TRUE(Info(CheckBox::ShowHints).threeState);
}

TEST(ConfigHints, BoxShowsAllNoneOrAMixture) {
    const struct {
        const char* hints;
        int value;
    } cases[] = {{"11", kChecked}, {"111", kChecked}, {"00", kUnchecked}, {"0", kUnchecked},
                 {"", kUnchecked}, {"10", kGrayed},   {"01", kGrayed}};
    for (const auto& c : cases) EXPECT_EQ(ShowHintsValue(c.hints), c.value) << c.hints;
}

// Values ("0", "1", "2") and enabled flags of the 25 boxes in CheckBox
// order, grouped by frame: layout, other, GUI drives, context drives, global.
std::string Values(const CheckStates& states) {
    std::string s;
    for (int i = 0; i < kCheckBoxCount; ++i) {
        if (i == 8 || i == 14 || i == 20 || i == 25) s += ' ';
        s += static_cast<char>('0' + states[i].value);
    }
    return s;
}
std::string EnabledFlags(const CheckStates& states) {
    std::string s;
    for (int i = 0; i < kCheckBoxCount; ++i) {
        if (i == 8 || i == 14 || i == 20 || i == 25) s += ' ';
        s += states[i].enabled ? '1' : '0';
    }
    return s;
}

Settings Inverted() {
    Settings s = DefaultSettings();
    s.AllowResize = true;
    s.GridLines = s.ShowLEDs = s.ShowButtons = s.ShowDrivelabels = false;
    s.ShowDrivelabelA = s.ShowDrivelabelB = s.ShowFilesystem = true;
    s.LastPos = "120/240";
    s.MinimizeToSystray = s.AutostartStay = s.PermAutostart = true;
    s.ShowHints = "00";
    s.SubstDefaultPermanent = s.NetDefaultPermanent = s.ShowWarnings = s.ExplorerLabels = false;
    s.SubstPermanentLink = s.NetPermanentLink = true;
    s.SubstDefaultPermanentSCE = s.NetDefaultPermanentSCE = s.ShowWarningsSCE = false;
    s.SubstPermanentLinkSCE = s.NetPermanentLinkSCE = true;
    return s;
}

TEST(ConfigStates, ValuesAndEnabledStatesFollowSettingsLocalAndExpertMode) {
    const struct {
        const char* what;
        Settings settings;
        bool local, expert;
        const char* values;
        const char* enabled;
    } cases[] = {
        {"defaults", DefaultSettings(), true, false, "01111000 000001 101011 10101 0",
         "11111111 111111 111111 11111 1"},
        {"not local", DefaultSettings(), false, false, "01111000 000001 101011 10101 0",
         "11111111 110001 001111 00111 0"},
        {"expert", DefaultSettings(), true, true, "01111000 000001 101011 10101 0",
         "11111111 111111 111101 11110 1"},
        {"inverted", Inverted(), true, false, "10000111 111100 010100 01010 0",
         "11111000 111111 101011 10101 1"},
        {"inverted, not local, expert", Inverted(), false, true, "10000111 111100 010100 01010 0",
         "11111000 110001 001001 00100 0"},
    };
    for (const auto& c : cases) {
        ConfigMachine cm;
        cm.settings() = c.settings;
        cm.settings().ExpertMode = c.expert;
        cm.program().startup.Local = c.local;
        const CheckStates states = ComputeCheckStates(cm.program());
        EXPECT_EQ(Values(states), c.values) << c.what;
        EXPECT_EQ(EnabledFlags(states), c.enabled) << c.what;
    }
}

TEST(ConfigStates, LastPosIsTickedForAnyPositionButCentre) {
    for (const char* pos : {"", "0/0"}) {
        ConfigMachine cm;
        cm.settings().LastPos = pos;
        EXPECT_EQ(ComputeCheckStates(cm.program())[static_cast<int>(CheckBox::LastPos)].value,
                  kChecked)
            << pos;
    }
}

TEST(ConfigTexts, TitleTabsFramesAndBoxesComeFromTheTextTable) {
    ConfigMachine cm;
    const ConfigTexts texts = ComputeConfigTexts(cm.program());
    EXPECT_EQ(texts.title, L"Kelvra V1.0.1 - Konfiguration");
    EXPECT_EQ(texts.tabs[0], L"Benutzer Einstellungen");
    EXPECT_EQ(texts.tabs[2], L"Global");
    EXPECT_EQ(texts.frames[static_cast<int>(Frame::Lang)],
              L"Sprache/Language/Langue/Lengua/Lingua");
    EXPECT_EQ(texts.frames[static_cast<int>(Frame::UnetSCE)], L"Netz-Laufwerke");
    EXPECT_EQ(texts.boxes[static_cast<int>(CheckBox::Shellcontext)],
              L"Registriere Konte&xtmen\u00FC Erweiterung");
}

}  // namespace
}  // namespace kelvra::test
