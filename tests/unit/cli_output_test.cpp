#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "cli_machine.h"

namespace kelvra::test {
namespace {

using JsonObject = std::map<std::wstring, std::wstring>;  // booleans as "true"/"false"

std::wstring Unescape(const std::wstring& s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != L'\\') {
            EXPECT_GE(s[i], 0x20) << "raw control character";
            out += s[i];
        } else if (s[++i] == L'u') {
            out += static_cast<wchar_t>(std::wcstol(s.substr(i + 1, 4).c_str(), nullptr, 16));
            i += 4;
        } else {
            EXPECT_TRUE(s[i] == L'"' || s[i] == L'\\') << "escape " << s[i];
            out += s[i];
        }
    }
    return out;
}

// Reads back the array the list prints, strictly: "[", one object of
// strings and booleans per line, "]"; anything else fails the test.
std::vector<JsonObject> ParseJsonArray(const std::vector<std::wstring>& lines) {
    static const std::wregex kPair(
        LR"rx("((?:[^"\\]|\\.)*)":(?:"((?:[^"\\]|\\.)*)"|(true|false))([,}]))rx");
    EXPECT_EQ(lines.front(), L"[");
    EXPECT_EQ(lines.back(), L"]");
    std::vector<JsonObject> objects;
    for (std::size_t n = 1; n + 1 < lines.size(); ++n) {
        const std::wstring& line = lines[n];
        EXPECT_EQ(line[0], L'{');
        JsonObject object;
        std::size_t at = 1;
        std::wsmatch m;
        while (std::regex_search(line.begin() + at, line.end(), m, kPair,
                                 std::regex_constants::match_continuous)) {
            object[Unescape(m[1])] = m[3].matched ? m[3].str() : Unescape(m[2]);
            at += m.length();
            if (m[4] == L"}") break;
        }
        EXPECT_EQ(line.substr(at), n + 2 < lines.size() ? L"," : L"") << line;
        objects.push_back(object);
    }
    return objects;
}

TEST(CliOutput, ListJsonReadsBack) {
    CliMachine m;
    m.sim.AddDrive('E', kDriveFixed, "Tab\tand \"q\" \\ \xC4");  // code page 1252
    ASSERT_EQ(m.Run({L"list", L"--json"}), 0);
    const std::vector<JsonObject> rows = ParseJsonArray(m.out);
    std::map<std::wstring, JsonObject> byLetter;
    for (const JsonObject& row : rows) byLetter[row.at(L"letter")] = row;
    // Used letters only, in letter order.
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows.front().at(L"letter"), L"C:");
    EXPECT_EQ(rows.back().at(L"letter"), L"V:");
    const JsonObject s = {{L"letter", L"S:"},
                          {L"type", L"SUBST (FIXED)"},
                          {L"typeText", L"Subst-Laufwerk (Festplatte)"},
                          {L"managed", L"true"},
                          {L"permanent", L"true"},
                          {L"state", L"active"},
                          {L"path", L"C:\\Data"},
                          {L"label", L"Quellen"},
                          {L"kelvraLabel", L"Quellen"}};
    EXPECT_EQ(byLetter[L"S:"], s);
    EXPECT_EQ(byLetter[L"E:"][L"label"], L"Tab\tand \"q\" \\ Ä");
    EXPECT_EQ(byLetter[L"G:"][L"state"], L"deactivated-permanently");
    EXPECT_EQ(byLetter[L"V:"][L"managed"], L"false");
    EXPECT_EQ(byLetter[L"T:"][L"permanent"], L"false");

    ASSERT_EQ(m.Run({L"list", L"--all", L"--json"}), 0);
    const std::vector<JsonObject> all = ParseJsonArray(m.out);
    ASSERT_EQ(all.size(), 26u);
    EXPECT_EQ(all[0].at(L"state"), L"free");
    EXPECT_EQ(all[0].at(L"type"), L"FREE");
}

// Text: used letters, columns aligned with two blanks between them.
TEST(CliOutput, ListTextAlignsTheColumns) {
    CliMachine m;
    ASSERT_EQ(m.Run({L"list"}), 0);
    ASSERT_EQ(m.out.size(), 7u);
    EXPECT_EQ(m.out[4], L"S:  Quellen  Ja           Subst-Laufwerk (Festplatte)  C:\\Data");
    EXPECT_EQ(m.out[5], L"T:  SYSTEM                Subst-Laufwerk (Festplatte)  C:\\Other");
}

// The texts come from the language the settings name.
TEST(CliOutput, SpeaksTheUsersLanguage) {
    const struct {
        const char* language;
        std::wstring refusal, usage;
    } cases[] = {
        {"Deutsch", L"Laufwerk Q: ist nicht verbunden.", L"Aufruf: kelvractl BEFEHL [ARGUMENTE]"},
        {"English", L"Drive Q: is not connected.", L"Usage: kelvractl COMMAND [ARGUMENTS]"},
    };
    std::ifstream file(std::filesystem::path(KELVRA_SOURCE_DIR) / "languages" / "English.lng",
                       std::ios::binary);
    const std::string pack{std::istreambuf_iterator<char>(file), {}};
    for (const auto& c : cases) {
        CliMachine m;
        m.sim.AddFile(std::string(TestMachine::kProgramFolder) + "languages\\English.lng", pack);
        m.SetIni("Language", c.language);
        EXPECT_EQ(m.Run({L"disconnect", L"Q:"}), 1);
        EXPECT_EQ(m.err, std::vector<std::wstring>{c.refusal});
        EXPECT_EQ(m.Run({L"--help"}), 0);
        EXPECT_EQ(m.out.at(0), c.usage);
        EXPECT_TRUE(m.err.empty());
    }
}

// A notice that is not about the command is a warning and leaves the exit code.
TEST(CliOutput, StartNoticesAreWarnings) {
    CliMachine m;
    m.SetIni("Language", "Klingon");
    EXPECT_EQ(m.Run({L"list"}), 0);
    ASSERT_FALSE(m.err.empty());
    EXPECT_EQ(m.err[0].rfind(L"Warnung: ", 0), 0u) << m.err[0];
    EXPECT_EQ(m.out.size(), 7u);
}

}  // namespace
}  // namespace kelvra::test
