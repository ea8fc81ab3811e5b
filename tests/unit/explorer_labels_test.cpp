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

// S: is a subst drive labelled "Quellen", X: and K: are free.
TEST(ExplorerLabels, FollowTheDrivesAndLeaveOtherLabelsAlone) {
    using Before = void (*)(CliMachine&);
    const Before none = [](CliMachine&) {};
    const Before storedR = [](CliMachine& m) {
        m.SetIni("SubstPath_R", "C:\\Other");
        m.SetIni("SubstPathLabel_R", "Rest");
    };
    // Left by a drive that vanished at logoff: it would name the next device.
    const Before staleK = [](CliMachine& m) { Ours(m.sim, 'K', "Alt"); };
    const Before theirsS = [](CliMachine& m) { Theirs(m.sim, 'S', "Fremd"); };
    const Before changedS = [](CliMachine& m) {
        Ours(m.sim, 'S', "Quellen");
        Theirs(m.sim, 'S', "Anders");
    };
    const Before off = [](CliMachine& m) {
        m.SetIni("ExplorerLabels", "0");
        Ours(m.sim, 'S', "Quellen");
        Theirs(m.sim, 'K', "Fremd");
    };
    const struct {
        std::vector<std::wstring> args;
        Before before;
        const char* shown;  // S: X: K: R:
    } cases[] = {
        {{L"label", L"S:", L"Neu"}, none, "Neu - - -"},
        {{L"label", L"S:"}, none, "- - - -"},
        {{L"move", L"S:", L"X:"}, none, "- Quellen - -"},
        {{L"disconnect", L"S:"}, none, "- - - -"},
        {{L"deactivate", L"S:"}, none, "- - - -"},
        {{L"new", L"X:", L"C:\\Other", L"--permanent", L"--label", L"Neu"},
         none,
         "Quellen Neu - -"},
        {{L"new", L"X:", L"\\\\srv\\share", L"--permanent", L"--label", L"Netz"},
         none,
         "Quellen - - -"},
        {{L"restore"}, storedR, "- - - Rest"},  // no scan: the stored label
        {{L"label", L"S:", L"Neu"}, staleK, "Neu - - -"},
        {{L"restore"}, staleK, "- - - -"},
        {{L"label", L"S:", L"Neu"}, theirsS, "Fremd - - -"},
        {{L"disconnect", L"S:"}, changedS, "Anders - - -"},
        {{L"label", L"S:", L"Neu"}, off, "- - Fremd -"},
    };
    for (const auto& c : cases) {
        CliMachine m;
        c.before(m);
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
