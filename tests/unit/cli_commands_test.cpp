#include <functional>
#include <utility>

#include "cli_machine.h"

namespace kelvra::test {
namespace {

const char* kData = "\\??\\C:\\Data";
const char* kOther = "\\??\\C:\\Other";
const char* kDesktop = "C:\\Documents and Settings\\Tester\\Desktop\\";

// What a key stands for after the command: a letter its DOS-device target
// ("" for none), "Network\X" the remembered share, a path "yes" when the
// file is there, anything else a settings-file value ("-" when missing).
std::string After(CliMachine& m, const std::string& key) {
    if (key.size() == 1) return m.Target(key[0]);
    std::string value = "-";
    if (key.rfind("Network\\", 0) == 0)
        m.sim.RegistryValue(kHkeyCurrentUser, key, "RemotePath", value);
    else if (key.rfind("C:\\", 0) == 0)
        value = m.sim.PathExists(key) ? "yes" : "no";
    else
        value = m.Ini(key);
    return value;
}

// Each command through the core on the simulated machine: what it prints,
// its exit code, and the DOS-device table and the settings file after it.
TEST(CliCommands, RunTheRulesOfTheButtons) {
    using Setup = std::function<void(CliMachine&)>;
    const Setup fromData = [](CliMachine& m) { m.sim.SetCurrentFolder("C:\\Data"); };
    // The --permanent switch is what makes the drive permanent here.
    const Setup fromDataTemporary = [](CliMachine& m) {
        m.sim.SetCurrentFolder("C:\\Data");
        m.SetIni("SubstDefaultPermanent", "0");
    };
    const Setup removalFails = [](CliMachine& m) { m.sim.Fail("DefineDosDevice"); };
    const std::wstring tooLong = L"C:\\Data\\" + std::wstring(300, L'x');
    const std::wstring notManaged = L" ist kein Subst- oder Netz-Laufwerk, das Kelvra verwaltet.";
    struct Case {
        std::vector<std::wstring> args;
        int exit;
        std::wstring line;  // the first line printed (standard output for 0, else error)
        std::vector<std::pair<std::string, std::string>> after = {};
        Setup before = {};
    };
    // clang-format off
    const Case cases[] = {
        // new: the settings' default permanence unless a switch says otherwise.
        {{L"new", L"x:", L"C:\\Data\\Long Folder"}, 0, L"Laufwerk X: ist verbunden mit C:\\Data\\Long Folder.",
            {{"X", "\\??\\C:\\Data\\LONGFO~1"}, {"SubstPath_X", "C:\\Data\\Long Folder"}}},
        {{L"new", L"x", L"Long Folder\\", L"--temporary"}, 0, L"Laufwerk X: ist verbunden mit C:\\Data\\Long Folder.",
            {{"X", "\\??\\C:\\Data\\LONGFO~1"}, {"SubstPath_X", "-"}}, fromData},
        {{L"new", L"X:", L"..\\Other", L"--permanent", L"--label", L"Quell: Daten"}, 0,
            L"Laufwerk X: ist verbunden mit C:\\Other.",
            {{"SubstPath_X", "C:\\Other"}, {"SubstPathLabel_X", "Quell Daten"}}, fromDataTemporary},
        {{L"new", L"X:", L"C:\\Other", L"--temporary", L"--label=Quellen"}, 1,
            L"Nur ein permanentes Laufwerk kann eine eigene Bezeichnung tragen. Es wurde nichts verbunden.", {{"X", ""}}},
        {{L"new", L"X:", L"C:\\Other", L"--permanent", L"--label=\u0416"}, 1,
            L"Der Pfad oder Name enthält Zeichen, die im Zeichensatz dieses Systems nicht darstellbar sind. Bitte andere Zeichen verwenden.", {{"X", ""}}},
        {{L"new", L"Y:", L"\\\\srv\\share\\"}, 0, L"Laufwerk Y: ist verbunden mit \\\\srv\\share.",
            {{"Network\\Y", "\\\\srv\\share"}}},
        {{L"new", L"S:", L"C:\\Other"}, 1, L"Der Laufwerksbuchstabe S: ist belegt. Es wurde nichts geändert.",
            {{"S", kData}}},
        {{L"new", L"X:", L"S:\\"}, 1, L"Verbindung mit einem Subst- oder Netz-Laufwerk ist nicht erlaubt!",
            {{"X", ""}}},
        {{L"new", L"X:", tooLong}, 1, L"Verbindung als Subst-Laufwerk nicht möglich!"},
        {{L"new", L"X:", tooLong}, 1, L"Verbindung als Subst-Laufwerk nicht möglich!", {},
            [](CliMachine& m) { m.sim.Fail("GetFullPathName"); }},
        {{L"new", L"X:", L"C:\\Missing"}, 1, L"Das Verzeichnis gibt es nicht: C:\\Missing"},
        // change keeps permanence and label; a failed one puts the drive back.
        {{L"change", L"s", L"C:\\Other"}, 0, L"Laufwerk S: steht jetzt für C:\\Other.",
            {{"S", kOther}, {"SubstPath_S", "C:\\Other"}, {"SubstPathLabel_S", "Quellen"}}},
        {{L"change", L"S:", L"\\\\srv\\gone"}, 1, L"Verbindung als Netz-Laufwerk nicht möglich!",
            {{"S", kData}, {"SubstPath_S", "C:\\Data"}, {"SubstPathLabel_S", "Quellen"}}},
        {{L"change", L"D:", L"C:\\Other"}, 1, L"Laufwerk D:" + notManaged},
        {{L"change", L"V:", L"C:\\Other"}, 1, L"Laufwerk V:" + notManaged},
        {{L"change", L"Q:", L"C:\\Other"}, 1, L"Laufwerk Q: ist nicht verbunden."},
        // permanent
        {{L"permanent", L"T:", L"on"}, 0, L"Laufwerk T: ist permanent.",
            {{"SubstPath_T", "C:\\Other"}}},
        {{L"permanent", L"N:", L"on"}, 0, L"Laufwerk N: ist permanent.",
            {{"Network\\N", "\\\\srv\\share"}}},
        {{L"permanent", L"S:", L"OFF"}, 0, L"Laufwerk S: ist temporär.",
            {{"S", kData}, {"SubstPath_S", "-"}}},
        {{L"permanent", L"S:", L"on"}, 0, L"Nichts zu tun: Laufwerk S: ist permanent."},
        // deactivate, activate: a removal that did not happen is a failure.
        {{L"deactivate", L"S:"}, 0, L"Laufwerk S: ist deaktiviert.",
            {{"S", ""}, {"SubstPath_S", "C:\\Data"}}},
        {{L"deactivate", L"S:"}, 1, L"Laufwerk S: konnte nicht geändert werden.",
            {{"S", kData}}, removalFails},
        {{L"deactivate", L"S:", L"--permanent"}, 0, L"Laufwerk S: ist permanent deaktiviert.",
            {{"S", ""}, {"SubstPath_S", "!C:\\Data"}}},
        {{L"deactivate", L"T:"}, 1, L"Das ist mit Laufwerk T: in seinem jetzigen Zustand nicht möglich.",
            {{"T", kOther}}},
        {{L"activate", L"g:"}, 0, L"Laufwerk G: ist aktiviert.",
            {{"G", kData}, {"SubstPath_G", "C:\\Data"}}},
        {{L"activate", L"S:"}, 0, L"Nichts zu tun: Laufwerk S: ist aktiviert."},
        // disconnect
        {{L"disconnect", L"S:"}, 0, L"Laufwerk S: ist getrennt.",
            {{"S", ""}, {"SubstPath_S", "-"}}},
        {{L"disconnect", L"N:"}, 0, L"Laufwerk N: ist getrennt.", {{"N", ""}}},
        {{L"disconnect", L"S:"}, 1, L"Laufwerk S: konnte nicht geändert werden.",
            {{"S", kData}, {"SubstPath_S", "C:\\Data"}}, removalFails},
        {{L"disconnect", L"C:"}, 1, L"Laufwerk C:" + notManaged},
        // move takes permanence and label along, onto a free letter only.
        {{L"move", L"S:", L"y"}, 0, L"Laufwerk S: ist verschoben nach Y:.",
            {{"S", ""}, {"Y", kData}, {"SubstPath_Y", "C:\\Data"}, {"SubstPathLabel_Y", "Quellen"},
             {"SubstPath_S", "-"}}},
        {{L"move", L"S:", L"T:"}, 1, L"Der Laufwerksbuchstabe T: ist belegt. Es wurde nichts geändert.",
            {{"S", kData}}},
        // label
        {{L"label", L"S:", L"Neu"}, 0, L"Laufwerk S: heißt jetzt \"Neu\".",
            {{"SubstPathLabel_S", "Neu"}}},
        {{L"label", L"S:"}, 0, L"Laufwerk S: hat keine eigene Bezeichnung mehr.",
            {{"SubstPathLabel_S", "-"}}},
        {{L"label", L"S:", L"<?>"}, 1, L"Die Bezeichnung enthält keine erlaubten Zeichen.",
            {{"SubstPathLabel_S", "Quellen"}}},
        // shortcut: any drive in use; without a name the one the window offers.
        {{L"shortcut", L"C:", L"System"}, 0, L"Verknüpfung \"System\" auf dem Desktop erstellt.",
            {{std::string(kDesktop) + "System.lnk", "yes"}}},
        {{L"shortcut", L"S:"}, 0, L"Verknüpfung \"Laufwerk S (Quellen)\" auf dem Desktop erstellt.",
            {{std::string(kDesktop) + "Laufwerk S (Quellen).lnk", "yes"}}},
        // restore: what the logon does; an entry it cannot restore fails the run.
        {{L"restore"}, 0, L"Wiederhergestellte Laufwerke: 1",
            {{"K", kOther}}, [](CliMachine& m) { StoreDriveEntry(m.sim, 'K', "C:\\Other"); }},
        {{L"restore"}, 1, L"Laufwerk D: konnte nicht wiederhergestellt werden (C:\\Other).",
            {}, [](CliMachine& m) { StoreDriveEntry(m.sim, 'D', "C:\\Other"); }},
        // bad usage
        {{L"move", L"S:"}, 2, L"Es fehlt ein Argument."},
        {{L"list", L"--bogus"}, 2, L"Unbekannter Schalter: --bogus"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::wstring name;
        for (const auto& a : c.args) name += a.substr(0, 20) + L" ";
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CliMachine m;
        if (c.before) c.before(m);
        EXPECT_EQ(m.Run(c.args), c.exit);
        const auto& lines = c.exit == 0 ? m.out : m.err;
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], c.line);
        // Success says nothing on standard error; a refusal nothing on standard output.
        EXPECT_TRUE(c.exit == 0 ? m.err.empty() : m.out.empty() || c.args[0] == L"restore");
        if (c.exit == 2) {
            EXPECT_EQ(m.err.at(1), L"Aufruf: kelvractl BEFEHL [ARGUMENTE]");
        }
        for (const auto& [key, value] : c.after) EXPECT_EQ(After(m, key), value) << key;
    }
}

}  // namespace
}  // namespace kelvra::test
