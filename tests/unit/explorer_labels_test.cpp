// The own labels of subst drives as Explorer shows them: written, moved and
// removed with the drives, and never a label someone else set.
#include "shell/explorer_labels.h"

#include "cli_machine.h"
#include "config_machine.h"
#include "drives/scan.h"

namespace kelvra::test {
namespace {

void Theirs(sim::SimulatedWindows& sim, char letter, const char* label) {
    sim.SetRegistryString(kHkeyCurrentUser, ExplorerLabelKey(DriveIndexOf(letter)), "", label);
}
void Ours(sim::SimulatedWindows& sim, char letter, const char* label) {
    Theirs(sim, letter, label);
    sim.SetRegistryString(kHkeyCurrentUser, ExplorerLabelKey(DriveIndexOf(letter)),
                          kExplorerLabelMark, label);
}

// Each letter's label as Explorer reads it, "-" for none.
std::string Shown(sim::SimulatedWindows& sim, const char* letters) {
    std::string shown;
    for (const char* l = letters; *l; ++l) {
        std::string value = "-";
        sim.RegistryValue(kHkeyCurrentUser, ExplorerLabelKey(DriveIndexOf(*l)), "", value);
        shown += (shown.empty() ? "" : " ") + value;
    }
    return shown;
}

// S: is a subst drive labelled "Quellen", X: and K: are free, R: is stored
// with the label "Rest" but not mapped. Before the command, a key of ours
// labelled "Alt" may be left on a letter (by a drive that vanished at logoff:
// it would name the next device there), and someone else's "Fremd".
TEST(ExplorerLabels, FollowTheDrivesAndLeaveOtherLabelsAlone) {
    const struct {
        std::vector<std::wstring> args;
        char ours, theirs;
        bool off;
        const char* shown;  // S: X: K: R:
    } cases[] = {
        {{L"label", L"S:", L"Neu"}, 0, 0, false, "Neu - - -"},
        {{L"label", L"S:"}, 0, 0, false, "- - - -"},
        {{L"move", L"S:", L"X:"}, 0, 0, false, "- Quellen - -"},
        {{L"disconnect", L"S:"}, 0, 0, false, "- - - -"},
        {{L"deactivate", L"S:"}, 0, 0, false, "- - - -"},
        {{L"new", L"X:", L"C:\\Other", L"--permanent", L"--label", L"Neu"},
         0,
         0,
         false,
         "Quellen Neu - -"},
        {{L"new", L"X:", L"\\\\srv\\share", L"--permanent", L"--label", L"Netz"},
         0,
         0,
         false,
         "Quellen - - -"},
        {{L"restore"}, 0, 0, false, "- - - Rest"},  // no scan: the stored label
        {{L"label", L"S:", L"Neu"}, 'K', 0, false, "Neu - - -"},
        {{L"restore"}, 'K', 0, false, "- - - Rest"},
        {{L"label", L"S:", L"Neu"}, 0, 'S', false, "Fremd - - -"},
        // Ours, then changed by someone else: no longer ours.
        {{L"disconnect", L"S:"}, 'S', 'S', false, "Fremd - - -"},
        {{L"label", L"S:", L"Neu"}, 'S', 'K', true, "- - Fremd -"},
    };
    for (const auto& c : cases) {
        CliMachine m;
        m.SetIni("SubstPath_R", "C:\\Other");
        m.SetIni("SubstPathLabel_R", "Rest");
        if (c.ours) Ours(m.sim, c.ours, "Alt");
        if (c.theirs) Theirs(m.sim, c.theirs, "Fremd");
        if (c.off) m.SetIni("ExplorerLabels", "0");
        EXPECT_EQ(m.Run(c.args), 0);
        EXPECT_EQ(Shown(m.sim, "SXKR"), c.shown) << "case " << &c - cases;
    }
}

TEST(ExplorerLabels, FollowTheBoxAndCostAScanThatChangedNothingNoRegistryCall) {
    ConfigMachine cm;
    sim::SimulatedWindows& sim = cm.m.sim;
    sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Subst(sim, 'S', "C:\\Data"));
    StoreDriveEntry(sim, 'S', "C:\\Data", "Quellen");
    RefreshAll(cm.program());
    sim.ResetCalls();
    RefreshAll(cm.program());
    EXPECT_EQ(sim.Calls("RegOpenKeyEx") + sim.Calls("RegCreateKeyEx"), 1);  // connections' key
    EXPECT_EQ(Shown(sim, "S"), "Quellen");
    cm.form.CheckBoxClick(CheckBox::ExplorerLabels, kUnchecked);
    EXPECT_EQ(Shown(sim, "S"), "-");
    EXPECT_FALSE(sim.RegistryKeyExists(kHkeyCurrentUser, std::string(kExplorerDrivesKey) + "\\S"));
    cm.form.CheckBoxClick(CheckBox::ExplorerLabels, kChecked);
    EXPECT_EQ(Shown(sim, "S"), "Quellen");
}

}  // namespace
}  // namespace kelvra::test
