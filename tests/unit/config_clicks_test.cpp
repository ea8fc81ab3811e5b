#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/config.h"
#include "config_machine.h"
#include "platform/inireg.h"

namespace kelvra::test {
namespace {

using CB = CheckBox;

// What one click left behind in the main window.
struct MainEffects {
    int layout = 0, grid = 0, resize = 0, rows = 0;
    std::vector<bool> tray;
    bool refreshed = false;  // the boxes were read again
};

TEST(ConfigClicks, EachBoxSetsItsSettingAndUpdatesTheMainWindowAtOnce) {
    const struct {
        const char* what;
        CheckBox box;
        int value;
        std::function<void(Settings&)> before;
        std::function<bool(const Settings&)> after;
        MainEffects effects;
    } cases[] = {
        {"resize on",
         CB::AllowResize,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.AllowResize; },
         {0, 0, 1, 0, {}, false}},
        {"resize off",
         CB::AllowResize,
         kUnchecked,
         [](Settings& s) { s.AllowResize = true; },
         [](const Settings& s) { return !s.AllowResize; },
         {0, 0, 1, 0, {}, false}},
        {"grid lines",
         CB::Gridline,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.GridLines; },
         {0, 1, 0, 0, {}, false}},
        {"LEDs",
         CB::ShowLEDs,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.ShowLEDs; },
         {1, 0, 0, 0, {}, false}},
        {"buttons",
         CB::ShowButtons,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.ShowButtons; },
         {1, 0, 0, 0, {}, false}},
        {"labels",
         CB::ShowDrivelabels,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.ShowDrivelabels; },
         {0, 0, 0, 1, {}, true}},
        {"label A",
         CB::ShowdrivelabelA,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.ShowDrivelabelA; },
         {0, 0, 0, 1, {}, false}},
        {"label B",
         CB::ShowdrivelabelB,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.ShowDrivelabelB; },
         {0, 0, 0, 1, {}, false}},
        {"file system",
         CB::ShowFilesystem,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.ShowFilesystem; },
         {0, 0, 0, 1, {}, false}},
        {"tray on",
         CB::Tosystray,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.MinimizeToSystray; },
         {0, 0, 0, 0, {true}, false}},
        {"tray off",
         CB::Tosystray,
         kUnchecked,
         [](Settings& s) { s.MinimizeToSystray = true; },
         [](const Settings& s) { return !s.MinimizeToSystray; },
         {0, 0, 0, 0, {false}, false}},
        {"last position",
         CB::LastPos,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.LastPos.empty(); },
         {}},
        {"centre",
         CB::LastPos,
         kUnchecked,
         [](Settings& s) { s.LastPos = "15/30"; },
         [](const Settings& s) { return s.LastPos == "<center>"; },
         {}},
        {"subst permanent",
         CB::Substperm,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.SubstDefaultPermanent; },
         {0, 0, 0, 0, {}, true}},
        {"net permanent",
         CB::Netperm,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.NetDefaultPermanent; },
         {0, 0, 0, 0, {}, true}},
        {"subst permanent SCE",
         CB::SubstpermSCE,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.SubstDefaultPermanentSCE; },
         {0, 0, 0, 0, {}, true}},
        {"net permanent SCE",
         CB::NetpermSCE,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.NetDefaultPermanentSCE; },
         {0, 0, 0, 0, {}, true}},
        {"subst link",
         CB::Substpermlink,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.SubstPermanentLink; },
         {}},
        {"net link",
         CB::Netpermlink,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.NetPermanentLink; },
         {}},
        {"warnings",
         CB::ShowWarnings,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.ShowWarnings; },
         {}},
        {"subst link SCE",
         CB::SubstpermlinkSCE,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.SubstPermanentLinkSCE; },
         {}},
        {"net link SCE",
         CB::NetpermlinkSCE,
         kChecked,
         nullptr,
         [](const Settings& s) { return s.NetPermanentLinkSCE; },
         {}},
        {"warnings SCE",
         CB::ShowWarningsSCE,
         kUnchecked,
         nullptr,
         [](const Settings& s) { return !s.ShowWarningsSCE; },
         {}},
    };
    for (const auto& c : cases) {
        ConfigMachine cm;
        if (c.before) c.before(cm.settings());
        cm.form.Load();
        const Settings untouched = cm.settings();
        const int statesBefore = cm.view.statesCalls;
        cm.form.CheckBoxClick(c.box, c.value);

        EXPECT_TRUE(c.after(cm.settings())) << c.what;
        const sim::FakeMainView& v = cm.mainView;
        EXPECT_EQ(v.applyLayoutCalls, c.effects.layout) << c.what;
        EXPECT_EQ(v.gridLineCalls, c.effects.grid) << c.what;
        EXPECT_EQ(v.resizePolicyCalls, c.effects.resize) << c.what;
        EXPECT_EQ(v.showRowsCalls, c.effects.rows) << c.what;
        EXPECT_EQ(v.trayTimer, c.effects.tray) << c.what;
        EXPECT_EQ(cm.view.statesCalls > statesBefore, c.effects.refreshed) << c.what;
        // The coupled settings stay out of it.
        EXPECT_EQ(cm.settings().PermAutostart, untouched.PermAutostart) << c.what;
        EXPECT_EQ(cm.settings().AutostartStay, untouched.AutostartStay) << c.what;
        EXPECT_EQ(cm.settings().ShowHints, untouched.ShowHints) << c.what;
    }
}

TEST(ConfigClicks, AutostartBoxesKeepStayWheneverAlwaysIsOn) {
    const struct {
        bool stay, always;
        CheckBox box;
        int value;
        bool stayAfter, alwaysAfter;
    } cases[] = {
        {false, false, CB::Permautostart, kChecked, true, true},
        {true, true, CB::Autostartstay, kUnchecked, false, false},
        {false, false, CB::Autostartstay, kChecked, true, false},
        {true, true, CB::Permautostart, kUnchecked, true, false},
    };
    for (const auto& c : cases) {
        ConfigMachine cm;
        cm.settings().AutostartStay = c.stay;
        cm.settings().PermAutostart = c.always;
        cm.form.Load();
        cm.form.CheckBoxClick(c.box, c.value);
        EXPECT_EQ(cm.settings().AutostartStay, c.stayAfter);
        EXPECT_EQ(cm.settings().PermAutostart, c.alwaysAfter);
        // The boxes show it at once.
        EXPECT_EQ(cm.view[CB::Autostartstay].value, c.stayAfter ? kChecked : kUnchecked);
        EXPECT_EQ(cm.view[CB::Permautostart].value, c.alwaysAfter ? kChecked : kUnchecked);
    }
}

TEST(ConfigClicks, HintsBoxSetsEveryHintOrLeavesThemOnGrey) {
    const struct {
        const char* before;
        int value;
        const char* after;
    } cases[] = {
        {"11", kUnchecked, "00"}, {"10", kChecked, "11"}, {"10", kGrayed, "10"},
        {"01", kUnchecked, "00"}, {"", kChecked, "11"},   {"00", kGrayed, "00"},
    };
    for (const auto& c : cases) {
        ConfigMachine cm;
        cm.settings().ShowHints = c.before;
        cm.form.Load();
        cm.form.CheckBoxClick(CB::ShowHints, c.value);
        EXPECT_EQ(cm.settings().ShowHints, c.after) << c.before << " " << c.value;
    }
}

// Clicks as the window turns them into values: grey and cleared tick,
// ticked clears; a click never lands on grey.
TEST(ConfigClicks, HintsBoxCyclesThroughTickedAndClearedOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"10", "11"}, {"01", "11"}, {"00", "11"}, {"", "11"}, {"11", "00"}};
    for (const auto& [before, after] : cases) {
        ConfigMachine cm;
        cm.settings().ShowHints = before;
        cm.form.Load();
        cm.form.CheckBoxClick(CB::ShowHints, NextThreeStateValue(cm.view[CB::ShowHints].value));
        EXPECT_EQ(cm.settings().ShowHints, after) << before;
    }
}

TEST(ConfigClicks, ClearingPermanentDisablesItsShortcutBoxButKeepsItsValue) {
    const struct {
        CheckBox permanent, link;
        bool Settings::*linkSetting;
    } cases[] = {
        {CB::Substperm, CB::Substpermlink, &Settings::SubstPermanentLink},
        {CB::Netperm, CB::Netpermlink, &Settings::NetPermanentLink},
        {CB::SubstpermSCE, CB::SubstpermlinkSCE, &Settings::SubstPermanentLinkSCE},
        {CB::NetpermSCE, CB::NetpermlinkSCE, &Settings::NetPermanentLinkSCE},
    };
    for (const auto& c : cases) {
        ConfigMachine cm;
        cm.settings().*c.linkSetting = true;
        cm.form.Load();
        EXPECT_TRUE(cm.view[c.link].enabled);
        cm.form.CheckBoxClick(c.permanent, kUnchecked);
        EXPECT_FALSE(cm.view[c.link].enabled) << Info(c.link).name;
        EXPECT_EQ(cm.view[c.link].value, kChecked) << Info(c.link).name;
        EXPECT_TRUE(cm.settings().*c.linkSetting) << Info(c.link).name;
        cm.form.CheckBoxClick(c.permanent, kChecked);
        EXPECT_TRUE(cm.view[c.link].enabled) << Info(c.link).name;
    }
}

TEST(ConfigClicks, ClearingLabelsDisablesTheLabelDetailBoxes) {
    ConfigMachine cm;
    cm.form.Load();
    cm.form.CheckBoxClick(CB::ShowDrivelabels, kUnchecked);
    for (CheckBox box : {CB::ShowdrivelabelA, CB::ShowdrivelabelB, CB::ShowFilesystem})
        EXPECT_FALSE(cm.view[box].enabled) << Info(box).name;
    EXPECT_TRUE(cm.view[CB::ShowDrivelabels].enabled);
}

TEST(ConfigClicks, ValuesSetWhileFillingAreNoClicks) {
    ConfigMachine cm;
    // A window that reported every value it was given as a click.
    cm.view.whileShowingStates = [&cm] {
        for (const CheckBoxInfo& info : CheckBoxes()) cm.form.CheckBoxClick(info.box, kUnchecked);
        cm.form.LanguageClick(0);
    };
    cm.settings().Language = "English";
    cm.form.Load();
    EXPECT_FALSE(cm.form.Filling());
    EXPECT_TRUE(cm.settings().ShowLEDs);
    EXPECT_EQ(cm.settings().ShowHints, "11");
    EXPECT_EQ(cm.settings().Language, "English");
    EXPECT_EQ(cm.mainView.applyLayoutCalls, 0);
    // After filling, a click counts.
    cm.view.whileShowingStates = nullptr;
    cm.form.CheckBoxClick(CB::ShowLEDs, kUnchecked);
    EXPECT_FALSE(cm.settings().ShowLEDs);
}

TEST(ConfigClicks, WithoutMainWindowOnlyTheSettingsChange) {
    ConfigMachine cm;
    cm.program().view = nullptr;
    cm.form.Load();
    for (const CheckBoxInfo& info : CheckBoxes()) cm.form.CheckBoxClick(info.box, kUnchecked);
    EXPECT_FALSE(cm.settings().ShowLEDs);
    EXPECT_FALSE(cm.settings().GridLines);
    EXPECT_EQ(cm.settings().ShowHints, "00");
}

TEST(ConfigTabs, StartOnTheFirstAndWrapBothWays) {
    ConfigMachine cm;
    cm.form.TabClick(3);
    cm.form.Load();
    EXPECT_EQ(cm.form.CurrentTab(), 1);
    const struct {
        std::function<void(ConfigForm&)> act;
        int tab;
    } steps[] = {
        {[](ConfigForm& f) { f.NextTab(false); }, 2}, {[](ConfigForm& f) { f.NextTab(false); }, 3},
        {[](ConfigForm& f) { f.NextTab(false); }, 1}, {[](ConfigForm& f) { f.NextTab(true); }, 3},
        {[](ConfigForm& f) { f.NextTab(true); }, 2},  {[](ConfigForm& f) { f.TabClick(0); }, 2},
        {[](ConfigForm& f) { f.TabClick(4); }, 2},    {[](ConfigForm& f) { f.TabClick(1); }, 1},
        {[](ConfigForm& f) { f.NextTab(true); }, 3},
    };
    for (const auto& step : steps) {
        step.act(cm.form);
        EXPECT_EQ(cm.form.CurrentTab(), step.tab);
        EXPECT_EQ(cm.view.tabs.back(), step.tab);
    }
}

TEST(ConfigClose, UnloadWritesTheChangedSettings) {
    ConfigMachine cm;
    cm.form.Load();
    cm.form.CheckBoxClick(CB::ShowLEDs, kUnchecked);
    cm.form.CheckBoxClick(CB::ShowHints, kUnchecked);
    cm.form.CheckBoxClick(CB::LastPos, kChecked);
    EXPECT_FALSE(cm.m.sim.PathExists(TestMachine::kUserIni));
    cm.form.Unload();
    int32_t status = 0;
    auto read = [&](const char* key) {
        return ReadIniString(cm.m.sim, TestMachine::kUserIni, "USER=TESTER", key, "<missing>",
                             status);
    };
    EXPECT_EQ(read("ShowLEDs"), "0");
    EXPECT_EQ(read("ShowHints"), "00");
    EXPECT_EQ(read("LastPos"), "");
    EXPECT_EQ(read("GridLines"), "1");
}

}  // namespace
}  // namespace kelvra::test
