#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "cli_machine.h"

namespace kelvra::test {
namespace {

using JsonObject = std::map<std::wstring, std::wstring>;  // booleans as "true"/"false"

// Reads back an array of flat objects of strings and booleans, strictly:
// anything else fails the test.
std::vector<JsonObject> ParseJsonArray(const std::wstring& s) {
    std::size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && (s[i] == L' ' || s[i] == L'\n')) ++i;
    };
    auto expect = [&](wchar_t c) {
        skip();
        EXPECT_LT(i, s.size());
        EXPECT_EQ(s[i], c) << "at " << i;
        ++i;
    };
    auto string = [&] {
        expect(L'"');
        std::wstring out;
        while (i < s.size() && s[i] != L'"') {
            wchar_t c = s[i++];
            if (c == L'\\') {
                c = s[i++];
                if (c == L'u') {
                    c = static_cast<wchar_t>(std::wcstol(s.substr(i, 4).c_str(), nullptr, 16));
                    i += 4;
                } else {
                    EXPECT_TRUE(c == L'"' || c == L'\\') << "escape " << c;
                }
            } else {
                EXPECT_GE(c, 0x20) << "raw control character";
            }
            out += c;
        }
        ++i;
        return out;
    };
    std::vector<JsonObject> objects;
    expect(L'[');
    do {
        JsonObject object;
        expect(L'{');
        do {
            const std::wstring key = string();
            expect(L':');
            skip();
            if (s[i] == L'"') {
                object[key] = string();
            } else {
                const std::size_t end = s.find_first_of(L",}", i);
                object[key] = s.substr(i, end - i);
                EXPECT_TRUE(object[key] == L"true" || object[key] == L"false");
                i = end;
            }
            skip();
        } while (s[i] == L',' && ++i);
        expect(L'}');
        objects.push_back(object);
        skip();
    } while (s[i] == L',' && ++i);
    expect(L']');
    skip();
    EXPECT_EQ(i, s.size());
    return objects;
}

TEST(CliOutput, ListJsonReadsBack) {
    CliMachine m;
    m.sim.AddDrive('E', kDriveFixed, "Tab\tand \"q\" \\ \xC4");  // code page 1252
    ASSERT_EQ(m.Run({L"list", L"--json"}), 0);
    std::wstring json;
    for (const auto& line : m.out) json += line + L"\n";
    const std::vector<JsonObject> rows = ParseJsonArray(json);
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
    json.clear();
    for (const auto& line : m.out) json += line + L"\n";
    const std::vector<JsonObject> all = ParseJsonArray(json);
    ASSERT_EQ(all.size(), 26u);
    EXPECT_EQ(all[0].at(L"state"), L"free");
    EXPECT_EQ(all[0].at(L"type"), L"FREE");
}

TEST(CliOutput, ListTextAlignsTheColumns) {
    CliMachine m;
    ASSERT_EQ(m.Run({L"list"}), 0);
    ASSERT_EQ(m.out.size(), 7u);
    const std::size_t typeColumn = m.out[0].find(L"Festplatte");
    for (const std::wstring& line : m.out) {
        EXPECT_NE(line.back(), L' ');
        EXPECT_EQ(line.find(line[0] == L'G' ? L"Subst" : L"", typeColumn), typeColumn) << line;
    }
    EXPECT_EQ(m.out[4].substr(0, 2), L"S:");
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
