// The own labels of subst drives as Explorer shows them: written, moved and
// removed with the drives, and never a label someone else set.
#include "shell/explorer_labels.h"

#include "cli_machine.h"
#include "config_machine.h"
#include "drives/scan.h"

namespace kelvra::test {
namespace {

std::string Key(char letter) {
    return ExplorerLabelKey(DriveIndexOf(letter));
}

void Theirs(sim::SimulatedWindows& sim, char letter, const std::string& label) {
    sim.SetRegistryString(kHkeyCurrentUser, Key(letter), "", label);
}
void Ours(sim::SimulatedWindows& sim, char letter, const std::string& label) {
    Theirs(sim, letter, label);
    sim.SetRegistryString(kHkeyCurrentUser, Key(letter), kExplorerLabelMark, label);
}

// "S=Quellen X=-": each letter's label as Explorer reads it, "-" for none.
std::string Shown(sim::SimulatedWindows& sim, const char* letters) {
    std::string shown;
    for (const char* l = letters; *l; ++l) {
        std::string value = "-";
        sim.RegistryValue(kHkeyCurrentUser, Key(*l), "", value);
        shown += (shown.empty() ? "" : " ") + std::string(1, *l) + "=" + value;
    }
    return shown;
}

TEST(ExplorerLabels, FollowTheDrivesAndLeaveOtherLabelsAlone) {
    struct Case {
        const char* name;
        std::vector<std::wstring> args;
        void (*before)(CliMachine&);
        const char* shown;  // S: labelled "Quellen"; X: and K: free; N: network
    };
    auto none = [](CliMachine&) {};
    const Case cases[] = {
        {"relabel", {L"label", L"S:", L"Neu"}, none, "S=Neu X=- K=- N=- R=-"},
        {"label removed", {L"label", L"S:"}, none, "S=- X=- K=- N=- R=-"},
        {"moved", {L"move", L"S:", L"X:"}, none, "S=- X=Quellen K=- N=- R=-"},
        {"disconnected", {L"disconnect", L"S:"}, none, "S=- X=- K=- N=- R=-"},
        {"deactivated", {L"deactivate", L"S:"}, none, "S=- X=- K=- N=- R=-"},
        {"made with a label",
         {L"new", L"X:", L"C:\\Other", L"--permanent", L"--label", L"Neu"},
         none,
         "S=Quellen X=Neu K=- N=- R=-"},
        {"a network drive keeps its own name",
         {L"new", L"X:", L"\\\\srv\\share", L"--permanent", L"--label", L"Netz"},
         none,
         "S=Quellen X=- K=- N=- R=-"},
        // The logon's restore has no table: the stored label counts.
        {"restored",
         {L"restore"},
         [](CliMachine& m) {
             m.SetIni("SubstPath_R", "C:\\Other");
             m.SetIni("SubstPathLabel_R", "Rest");
         },
         "S=- X=- K=- N=- R=Rest"},
        // Left by a drive that vanished at logoff: it would name the next
        // device on K:.
        {"stale key removed by a scan",
         {L"label", L"S:", L"Neu"},
         [](CliMachine& m) { Ours(m.sim, 'K', "Alt"); },
         "S=Neu X=- K=- N=- R=-"},
        {"stale key removed at logon",
         {L"restore"},
         [](CliMachine& m) { Ours(m.sim, 'K', "Alt"); },
         "S=- X=- K=- N=- R=-"},
        {"someone else's label is not overwritten",
         {L"label", L"S:", L"Neu"},
         [](CliMachine& m) { Theirs(m.sim, 'S', "Fremd"); },
         "S=Fremd X=- K=- N=- R=-"},
        {"someone else's label is not removed",
         {L"disconnect", L"S:"},
         [](CliMachine& m) { Theirs(m.sim, 'S', "Fremd"); },
         "S=Fremd X=- K=- N=- R=-"},
        {"nor taken over by a move",
         {L"move", L"S:", L"X:"},
         [](CliMachine& m) { Theirs(m.sim, 'X', "Fremd"); },
         "S=- X=Fremd K=- N=- R=-"},
        {"a key of ours changed by hand is no longer ours",
         {L"disconnect", L"S:"},
         [](CliMachine& m) {
             Ours(m.sim, 'S', "Quellen");
             Theirs(m.sim, 'S', "Anders");
         },
         "S=Anders X=- K=- N=- R=-"},
        {"switched off: ours go, theirs stay",
         {L"label", L"S:", L"Neu"},
         [](CliMachine& m) {
             m.SetIni("ExplorerLabels", "0");
             Ours(m.sim, 'S', "Quellen");
             Theirs(m.sim, 'K', "Fremd");
         },
         "S=- X=- K=Fremd N=- R=-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CliMachine m;
        c.before(m);
        EXPECT_EQ(m.Run(c.args), 0);
        EXPECT_EQ(Shown(m.sim, "SXKNR"), c.shown);
    }
}

int RegistryCalls(sim::SimulatedWindows& sim) {
    int n = 0;
    for (const char* call : {"RegOpenKeyEx", "RegCreateKeyEx", "RegSetValueEx", "RegQueryValueEx",
                             "RegEnumKeyEx", "RegDeleteKey", "RegCloseKey"})
        n += sim.Calls(call);
    return n;
}

TEST(ExplorerLabels, FollowTheBoxAndCostAScanThatChangedNothingNoRegistryCall) {
    ConfigMachine cm;
    sim::SimulatedWindows& sim = cm.m.sim;
    sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Subst(sim, 'S', "C:\\Data"));
    StoreDriveEntry(sim, 'S', "C:\\Data", "Quellen");
    RefreshAll(cm.program());
    EXPECT_EQ(Shown(sim, "S"), "S=Quellen");

    sim.ResetCalls();
    RefreshAll(cm.program());
    EXPECT_EQ(RegistryCalls(sim), 1);  // the remembered connections' key alone

    cm.form.CheckBoxClick(CheckBox::ExplorerLabels, kUnchecked);
    EXPECT_FALSE(cm.settings().ExplorerLabels);
    EXPECT_EQ(Shown(sim, "S"), "S=-");
    EXPECT_FALSE(sim.RegistryKeyExists(kHkeyCurrentUser, std::string(kExplorerDrivesKey) + "\\S"));
    cm.form.CheckBoxClick(CheckBox::ExplorerLabels, kChecked);
    EXPECT_EQ(Shown(sim, "S"), "S=Quellen");
}

}  // namespace
}  // namespace kelvra::test
