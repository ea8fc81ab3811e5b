// Every pack shipped in languages/ must assign each key exactly once, name no
// unknown key, and keep the separators, placeholders and access keys that
// the program relies on when it splits and fills the texts.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "language/language.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "sim/simulated_windows.h"

namespace kelvra {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ShippedPacks() {
    std::vector<fs::path> packs;
    for (const auto& entry : fs::directory_iterator(fs::path(KELVRA_SOURCE_DIR) / "languages")) {
        std::string ext = entry.path().extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".lng") packs.push_back(entry.path());
    }
    return packs;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t Count(const std::wstring& text, const std::wstring& what) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::wstring::npos;
         pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

// A line that looks like an assignment: a name of key characters in the
// first column, directly followed by "=".
bool AssignedName(const std::wstring& line, std::string& name) {
    std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos || eq == 0) return false;
    name.clear();
    for (std::size_t i = 0; i < eq; ++i) {
        wchar_t c = line[i];
        bool keyChar = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                       (c >= L'0' && c <= L'9') || c == L'_';
        if (!keyChar) return false;
        name += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
    }
    return true;
}

TEST(LanguageShippedPacks, EveryPackIsComplete) {
    std::vector<fs::path> packs = ShippedPacks();
    ASSERT_FALSE(packs.empty());
    sim::SimulatedWindows cp1252;  // the code page of the Western packs
    for (const fs::path& path : packs) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = ReadBytes(path);
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0)
            << "a byte-order mark hides the first key";
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
            }

        std::map<std::string, int> seen;
        std::wstring wide = cp1252.AnsiToWide(bytes);
        std::wistringstream lines(wide);
        for (std::wstring line; std::getline(lines, line, L'\r');) {
            if (!line.empty() && line[0] == L'\n') line.erase(0, 1);
            if (line.empty() || line[0] == L';') continue;
            std::string name;
            if (!AssignedName(line, name)) continue;
            TextKey key;
            if (!FindTextKey(name, key)) {
                ADD_FAILURE() << "unknown key " << name;
                continue;
            }
            if (++seen[name] > 1) continue;

            std::wstring value;
            ASSERT_TRUE(KeyValue(line, name, value));
            const std::wstring own = PrepareText(value);
            const std::wstring builtIn = PrepareText(BuiltInText(key));
            for (const wchar_t* mark : {L"||", L"@@", L"$DRIVE$", L"$DRIVETYPE$", L"$DRIVEPATH$"})
                EXPECT_EQ(Count(own, mark), Count(builtIn, mark)) << name << " " << mark;
            EXPECT_EQ(Count(own, L"&") > 0, Count(builtIn, L"&") > 0) << name << " access key";
            if (own.find(L"@@") != std::wstring::npos) {
                EXPECT_LT(own.find(L"||"), own.find(L"@@")) << name;
            }
        }
        for (std::size_t i = 0; i < kTextCount; ++i) {
            std::string name(TextKeyName(static_cast<TextKey>(i)));
            EXPECT_EQ(seen[name], 1) << name;
        }
    }
}

// The English pack as the program reads it: every text replaced, and the
// author entries name the pack itself.
TEST(LanguageShippedPacks, EnglishPackLoads) {
    sim::SimulatedWindows machine;
    sim::ScriptedUi ui;
    Program program(machine, ui);
    program.startup.ApplicationPath = "C:\\Kelvra\\";
    machine.AddFile("C:\\Kelvra\\languages\\English.lng",
                    ReadBytes(fs::path(KELVRA_SOURCE_DIR) / "languages" / "English.lng"));
    program.settings.Language = "English";
    LoadLanguage(program);
    EXPECT_EQ(Text(program.language, TextKey::author_language), L"English");
    EXPECT_EQ(Text(program.language, TextKey::main_cmdnew), L"&Connect");
    EXPECT_EQ(Text(program.language, TextKey::main_reqdeldrive),
              L"$DRIVETYPE$ $DRIVE$: will be disconnected. Continue?||Disconnect");
}

}  // namespace
}  // namespace kelvra
