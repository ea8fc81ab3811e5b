#include <functional>

#include "cli_machine.h"

namespace kelvra::test {
namespace {

const std::string kLongData = "\\??\\C:\\Data\\LONGFO~1";

// Each command through the core on the simulated machine: what it prints,
// its exit code, and the DOS-device table and the settings file after it.
TEST(CliCommands, RunTheRulesOfTheButtons) {
    const std::wstring tooLong = L"C:\\Data\\" + std::wstring(300, L'x');
    struct Case {
        std::vector<std::wstring> args;
        int exit;
        std::wstring line;  // the first line printed (standard output for 0, else error)
        std::function<void(CliMachine&)> check = {};
        std::function<void(CliMachine&)> before = {};
    };
    const Case cases[] = {
        // new: the settings' default permanence unless a switch says otherwise.
        {{L"new", L"x:", L"C:\\Data\\Long Folder"},
         0,
         L"Laufwerk X: ist verbunden mit C:\\Data\\Long Folder.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('X'), kLongData);
             EXPECT_EQ(m.Entry('X'), "C:\\Data\\Long Folder");
         }},
        {{L"new", L"x", L"Long Folder\\", L"--temporary"},
         0,
         L"Laufwerk X: ist verbunden mit C:\\Data\\Long Folder.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('X'), kLongData);
             EXPECT_EQ(m.Entry('X'), "-");
         },
         [](CliMachine& m) { m.sim.SetCurrentFolder("C:\\Data"); }},
        {{L"new", L"X:", L"C:\\Other", L"--permanent", L"--label", L"Quell: Daten"},
         0,
         L"Laufwerk X: ist verbunden mit C:\\Other.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Entry('X'), "C:\\Other");
             EXPECT_EQ(m.LabelEntry('X'), "Quell Daten");
         },
         [](CliMachine& m) { m.SetIni("SubstDefaultPermanent", "0"); }},
        {{L"new", L"Y:", L"\\\\srv\\share\\"},
         0,
         L"Laufwerk Y: ist verbunden mit \\\\srv\\share.",
         [](CliMachine& m) {
             std::string remote;
             EXPECT_TRUE(m.sim.RegistryValue(kHkeyCurrentUser, "Network\\Y", "RemotePath", remote));
         }},
        {{L"new", L"S:", L"C:\\Other"},
         1,
         L"Der Laufwerksbuchstabe S: ist belegt. Es wurde nichts geändert.",
         [](CliMachine& m) { EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data"); }},
        {{L"new", L"X:", L"S:\\"},
         1,
         L"Verbindung mit einem Subst- oder Netz-Laufwerk ist nicht erlaubt!",
         [](CliMachine& m) { EXPECT_EQ(m.Target('X'), ""); }},
        {{L"new", L"X:", tooLong}, 1, L"Verbindung als Subst-Laufwerk nicht möglich!"},
        {{L"new", L"X:", L"C:\\Missing"}, 1, L"Das Verzeichnis gibt es nicht: C:\\Missing"},
        // change keeps permanence and label; a failed one puts the drive back.
        {{L"change", L"s", L"C:\\Other"},
         0,
         L"Laufwerk S: steht jetzt für C:\\Other.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "\\??\\C:\\Other");
             EXPECT_EQ(m.Entry('S'), "C:\\Other");
             EXPECT_EQ(m.LabelEntry('S'), "Quellen");
         }},
        {{L"change", L"S:", L"\\\\srv\\gone"},
         1,
         L"Verbindung als Netz-Laufwerk nicht möglich!",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data");
             EXPECT_EQ(m.Entry('S'), "C:\\Data");
             EXPECT_EQ(m.LabelEntry('S'), "Quellen");
         }},
        {{L"change", L"D:", L"C:\\Other"},
         1,
         L"Laufwerk D: ist kein Subst- oder Netz-Laufwerk, das Kelvra verwaltet."},
        {{L"change", L"V:", L"C:\\Other"},
         1,
         L"Laufwerk V: ist kein Subst- oder Netz-Laufwerk, das Kelvra verwaltet."},
        {{L"change", L"Q:", L"C:\\Other"}, 1, L"Laufwerk Q: ist nicht verbunden."},
        // permanent
        {{L"permanent", L"T:", L"on"},
         0,
         L"Laufwerk T: ist permanent.",
         [](CliMachine& m) { EXPECT_EQ(m.Entry('T'), "C:\\Other"); }},
        {{L"permanent", L"S:", L"OFF"},
         0,
         L"Laufwerk S: ist temporär.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Entry('S'), "-");
             EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data");
         }},
        {{L"permanent", L"S:", L"on"}, 0, L"Nichts zu tun: Laufwerk S: ist permanent."},
        // deactivate, activate
        {{L"deactivate", L"S:"},
         0,
         L"Laufwerk S: ist deaktiviert.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "");
             EXPECT_EQ(m.Entry('S'), "C:\\Data");
         }},
        {{L"deactivate", L"S:", L"--permanent"},
         0,
         L"Laufwerk S: ist permanent deaktiviert.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "");
             EXPECT_EQ(m.Entry('S'), "!C:\\Data");
         }},
        {{L"deactivate", L"T:"},
         1,
         L"Das ist mit Laufwerk T: in seinem jetzigen Zustand nicht möglich.",
         [](CliMachine& m) { EXPECT_EQ(m.Target('T'), "\\??\\C:\\Other"); }},
        {{L"deactivate", L"S:"},
         1,
         L"Laufwerk S: konnte nicht geändert werden.",
         [](CliMachine& m) { EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data"); },
         [](CliMachine& m) { m.sim.Fail("DefineDosDevice"); }},
        {{L"activate", L"g:"},
         0,
         L"Laufwerk G: ist aktiviert.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('G'), "\\??\\C:\\Data");
             EXPECT_EQ(m.Entry('G'), "C:\\Data");
         }},
        {{L"activate", L"S:"}, 0, L"Nichts zu tun: Laufwerk S: ist aktiviert."},
        // disconnect: a removal that did not happen is a failure.
        {{L"disconnect", L"S:"},
         0,
         L"Laufwerk S: ist getrennt.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "");
             EXPECT_EQ(m.Entry('S'), "-");
         }},
        {{L"disconnect", L"N:"}, 0, L"Laufwerk N: ist getrennt."},
        {{L"disconnect", L"S:"},
         1,
         L"Laufwerk S: konnte nicht geändert werden.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "\\??\\C:\\Data");
             EXPECT_EQ(m.Entry('S'), "C:\\Data");
         },
         [](CliMachine& m) { m.sim.Fail("DefineDosDevice"); }},
        {{L"disconnect", L"C:"},
         1,
         L"Laufwerk C: ist kein Subst- oder Netz-Laufwerk, das Kelvra verwaltet."},
        // move takes permanence and label along, onto a free letter only.
        {{L"move", L"S:", L"y"},
         0,
         L"Laufwerk S: ist verschoben nach Y:.",
         [](CliMachine& m) {
             EXPECT_EQ(m.Target('S'), "");
             EXPECT_EQ(m.Target('Y'), "\\??\\C:\\Data");
             EXPECT_EQ(m.Entry('Y'), "C:\\Data");
             EXPECT_EQ(m.LabelEntry('Y'), "Quellen");
             EXPECT_EQ(m.Entry('S'), "-");
         }},
        {{L"move", L"S:", L"T:"},
         1,
         L"Der Laufwerksbuchstabe T: ist belegt. Es wurde nichts geändert."},
        // label
        {{L"label", L"S:", L"Neu"},
         0,
         L"Laufwerk S: heißt jetzt \"Neu\".",
         [](CliMachine& m) { EXPECT_EQ(m.LabelEntry('S'), "Neu"); }},
        {{L"label", L"S:"},
         0,
         L"Laufwerk S: hat keine eigene Bezeichnung mehr.",
         [](CliMachine& m) { EXPECT_EQ(m.LabelEntry('S'), "-"); }},
        {{L"label", L"S:", L"<?>"},
         1,
         L"Die Bezeichnung enthält keine erlaubten Zeichen.",
         [](CliMachine& m) { EXPECT_EQ(m.LabelEntry('S'), "Quellen"); }},
        // shortcut: any drive in use.
        {{L"shortcut", L"C:", L"System"},
         0,
         L"Verknüpfung \"System\" auf dem Desktop erstellt.",
         [](CliMachine& m) {
             EXPECT_TRUE(
                 m.sim.PathExists("C:\\Documents and Settings\\Tester\\Desktop\\System.lnk"));
         }},
        {{L"shortcut", L"S:"},
         0,
         L"Verknüpfung \"Laufwerk S (Quellen)\" auf dem Desktop erstellt.",
         [](CliMachine& m) {
             EXPECT_TRUE(m.sim.PathExists(
                 "C:\\Documents and Settings\\Tester\\Desktop\\Laufwerk S (Quellen).lnk"));
         }},
        // restore: what the logon does; an entry it cannot restore fails the run.
        {{L"restore"},
         0,
         L"Wiederhergestellte Laufwerke: 1",
         [](CliMachine& m) { EXPECT_EQ(m.Target('K'), "\\??\\C:\\Other"); },
         [](CliMachine& m) { StoreDriveEntry(m.sim, 'K', "C:\\Other"); }},
        {{L"restore"},
         1,
         L"Laufwerk D: konnte nicht wiederhergestellt werden (C:\\Other).",
         nullptr,
         [](CliMachine& m) { StoreDriveEntry(m.sim, 'D', "C:\\Other"); }},
        // bad usage
        {{L"move", L"S:"}, 2, L"Es fehlt ein Argument."},
        {{L"list", L"--bogus"}, 2, L"Unbekannter Schalter: --bogus"},
    };
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
        if (c.exit == 0) {
            EXPECT_TRUE(m.err.empty());
        } else if (c.args[0] != L"restore") {
            EXPECT_TRUE(m.out.empty());
        }
        if (c.exit == 2) {
            ASSERT_GT(m.err.size(), 1u);
            EXPECT_EQ(m.err[1], L"Aufruf: kelvractl BEFEHL [ARGUMENTE]");
        }
        if (c.check) c.check(m);
    }
}

}  // namespace
}  // namespace kelvra::test
