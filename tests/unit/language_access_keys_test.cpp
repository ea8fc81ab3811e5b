// Alt plus a letter must reach one control: no two controls or menus of a
// window that can be enabled at the same time may share an access key, in
// the built-in texts and in every shipped pack. For the main window the
// availability computation decides what is enabled together, over every row
// of a machine holding each kind of drive, with and without a pending move.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "commands_machine.h"
#include "config/config.h"
#include "language/language.h"
#include "mainwindow/main_window.h"

namespace kelvra::test {
namespace {

namespace fs = std::filesystem;

// The letter after the single "&" of a caption, in upper case; 0 for none.
wchar_t AccessKey(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t c = caption[i + 1];
        const bool latin1Lower = c >= 0xE0 && c <= 0xFE && c != 0xF7;
        if ((c >= L'a' && c <= L'z') || latin1Lower) c = static_cast<wchar_t>(c - 0x20);
        return c;
    }
    return 0;
}

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Reports every access key that two of the captions share.
void ExpectDistinctKeys(const std::vector<std::wstring>& captions, const std::string& where) {
    std::map<wchar_t, std::wstring> owner;
    for (const std::wstring& caption : captions) {
        const wchar_t key = AccessKey(caption);
        if (!key) continue;
        auto [it, fresh] = owner.emplace(key, caption);
        EXPECT_TRUE(fresh) << where << ": \"" << Narrow(it->second) << "\" and \""
                           << Narrow(caption) << "\" share their access key";
    }
}

struct Pack {
    std::string name;  // "" for the built-in texts
    LanguageState language;
};

std::vector<Pack> AllLanguages() {
    std::vector<Pack> packs(1);
    sim::SimulatedWindows cp1252;
    for (const auto& entry : fs::directory_iterator(fs::path(KELVRA_SOURCE_DIR) / "languages")) {
        if (entry.path().extension() != ".lng") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        Pack pack{entry.path().filename().string(), {}};
        ApplyPack(pack.language, cp1252.AnsiToWide(bytes));
        packs.push_back(std::move(pack));
    }
    return packs;
}

// A machine with one row of every kind the list can show.
class AccessKeys : public MixedRows {
  protected:
    void AddRows(sim::SimulatedWindows& sim) override {
        sim.AddDrive('E', kDriveRemovable);
        sim.AddDrive('R', kDriveCdrom);
        StoreDriveEntry(sim, 'E', "C:\\Data");           // a stick took its letter
        StoreDriveEntry(sim, 'O', "!\\\\srv\\share");    // deactivated share
        RememberConnection(sim, 'N', "\\\\srv\\share");  // remembered, not connected
    }

    // Every set of captions the main window can show enabled at one time:
    // the buttons for each row, with the program on a local disk or not,
    // without a move and with a move started from each row that allows one;
    // the menu bar's two menus except while a move is pending.
    std::vector<std::vector<std::wstring>> MainWindowStates(const LanguageState& language) {
        m.program.language = language;
        MainState& main = m.program.main;
        std::vector<std::vector<std::wstring>> states;
        for (bool local : {true, false}) {
            m.program.startup.Local = local;
            main.MoveMode = false;
            main.MoveSource = -1;
            std::vector<DriveIndex> sources{-1};
            for (DriveIndex row = 1; row <= kDriveCount; ++row)
                if (ComputeCommands(m.program, row).enabled[static_cast<int>(Command::Move)])
                    sources.push_back(row);
            for (DriveIndex source : sources) {
                main.MoveMode = source > 0;
                main.MoveSource = source;
                for (DriveIndex row = 1; row <= kDriveCount; ++row) {
                    const CommandView view = ComputeCommands(m.program, row);
                    std::vector<std::wstring> shown;
                    for (int c = 0; c < kCommandCount; ++c)
                        if (view.enabled[c]) shown.push_back(view.captions[c]);
                    if (!main.MoveMode) {
                        shown.push_back(Text(language, TextKey::main_mnufile));
                        shown.push_back(Text(language, TextKey::main_mnuhelp));
                    }
                    states.push_back(shown);
                }
            }
        }
        return states;
    }
};

TEST_F(AccessKeys, NoTwoControlsOfAWindowShareOne) {
    const std::vector<Pack> packs = AllLanguages();
    ASSERT_GE(packs.size(), 2u) << "no shipped pack found";
    for (const Pack& pack : packs) {
        SCOPED_TRACE(pack.name.empty() ? "built-in" : pack.name);
        const LanguageState& lang = pack.language;
        auto texts = [&lang](std::initializer_list<TextKey> keys) {
            std::vector<std::wstring> out;
            for (TextKey key : keys) out.push_back(Text(lang, key));
            return out;
        };

        std::set<std::wstring> seenEnabled;
        for (const auto& shown : MainWindowStates(lang)) {
            ExpectDistinctKeys(shown, "main window");
            seenEnabled.insert(shown.begin(), shown.end());
        }
        // Each caption a button can carry was enabled somewhere, so the
        // states above covered them all.
        for (TextKey key :
             {TextKey::main_cmdnew, TextKey::main_cmdchange, TextKey::main_cmdmove,
              TextKey::main_cmdmoveinsert, TextKey::main_cmdmovecancel, TextKey::main_cmdkill,
              TextKey::main_cmdfix, TextKey::main_cmdtemp, TextKey::main_cmdactivate,
              TextKey::main_cmddeactivate, TextKey::main_cmddeactivateperm, TextKey::main_cmdrename,
              TextKey::main_cmdlink})
            EXPECT_EQ(seenEnabled.count(Text(lang, key)), 1u) << TextKeyName(key);

        ExpectDistinctKeys(texts({TextKey::main_mnufile_config, TextKey::main_mnufile_exit}),
                           "file menu");
        ExpectDistinctKeys(texts({TextKey::main_mnuhelp_index, TextKey::main_mnuhelp_keyboard,
                                  TextKey::main_mnuhelp_history, TextKey::main_mnuhelp_about}),
                           "help menu");
        ExpectDistinctKeys(texts({TextKey::main_mnutrayrestore, TextKey::main_mnutrayexit}),
                           "tray menu");
        ExpectDistinctKeys(texts({TextKey::hint_chk, TextKey::hint_cmdok}), "hint window");
        // A page's boxes are all taken as enabled; the hidden pages do not count.
        for (int tab = 1; tab <= kTabCount; ++tab) {
            std::vector<std::wstring> boxes;
            for (const CheckBoxInfo& info : CheckBoxes())
                if (TabOf(info.box) == tab) boxes.push_back(Text(lang, info.caption));
            ExpectDistinctKeys(boxes, "configuration page " + std::to_string(tab));
        }
    }
}

// The built-in German captions that do share a key; the test above passes
// for them only because the availability never enables both.
TEST(AccessKeysBuiltIn, SharedKeysOfTheSpecifiedTexts) {
    const LanguageState lang;
    EXPECT_EQ(AccessKey(Text(lang, TextKey::main_cmdnew)),
              AccessKey(Text(lang, TextKey::main_cmdmove)));
    EXPECT_EQ(AccessKey(Text(lang, TextKey::main_cmdmovecancel)),
              AccessKey(Text(lang, TextKey::main_cmdactivate)));
    EXPECT_EQ(AccessKey(L"&&Save &as"), L'A');
    EXPECT_EQ(AccessKey(L"&ändern"), L'Ä');
    EXPECT_EQ(AccessKey(L"none"), 0);
}

}  // namespace
}  // namespace kelvra::test
