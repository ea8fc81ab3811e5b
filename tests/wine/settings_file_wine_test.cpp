// The settings file on the real system: a reader polling it while saves run
// never finds it incomplete, and a file another process holds without
// sharing during a scan costs the real Kelvra.exe no stored drive.
#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <thread>

#include "drives/scan.h"
#include "platform/win32/win32_os.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "startup/ini_text.h"
#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

const char kSection[] = "USER=TORN";
constexpr int kSaves = 30;

// Complete: every key of the section and the other user's section are there.
bool Complete(const std::string& bytes, int drives) {
    const IniText ini(bytes);
    std::string value;
    if (!ini.Get("USER=OTHER", "SubstPath_K", value) || value != "C:\\Theirs") return false;
    for (int i = 0; i < drives; ++i) {
        const std::string letter(1, static_cast<char>('D' + i));
        if (!ini.Get(kSection, "SubstPath_" + letter, value) || value.empty()) return false;
    }
    return ini.Get(kSection, "Language", value) && value == "Deutsch";
}

struct Counts {
    int reads = 0;
    int torn = 0;
    int refused = 0;  // not opened at that moment: never a half file
};

// Reads the file in a loop, as a backup tool or a second Kelvra would,
// until `done` is set; `progress` counts the reads as they happen.
Counts Poll(const std::string& file, int drives, const std::atomic<bool>& done,
            std::atomic<int>& progress) {
    Counts counts;
    while (!done) {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            ++counts.refused;
            continue;
        }
        std::string bytes;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
        CloseHandle(h);
        ++counts.reads;
        ++progress;
        if (!Complete(bytes, drives)) ++counts.torn;
        // A reader pauses now and then. Under Wine an open file blocks the
        // replace (Windows lets it through with delete sharing), so one that
        // never let go could keep a save out for the whole of its wait.
        if (counts.reads % 8 == 0) Sleep(1);
    }
    return counts;
}

class SettingsFileWine : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeScratchFolder("torn");
        file_ = folder_ + "kelvra.ini";
        program_.startup.IniFilePath = file_;
        program_.startup.User = "Torn";
        program_.startup.HintCount = 2;
    }
    void TearDown() override { RemoveTree(folder_); }

    // The file as earlier versions left it: another user's section and the
    // stored drives D: to M: (none of them mapped).
    void Preset() {
        std::string lines = "[USER=OTHER]\r\nSubstPath_K=C:\\Theirs\r\n[" + std::string(kSection) +
                            "]\r\nLanguage=Deutsch\r\n";
        for (int i = 0; i < 10; ++i) {
            const std::string letter(1, static_cast<char>('D' + i));
            lines += "SubstPath_" + letter + "=C:\\Folder " + letter + "\r\nSubstPathLabel_" +
                     letter + "=Label " + letter + "\r\n";
        }
        WriteBytes(file_, lines);
    }

    std::string folder_;
    std::string file_;
    Win32Os os_;
    sim::ScriptedUi ui_;
    Program program_{os_, ui_};
};

TEST_F(SettingsFileWine, AReaderNeverSeesAHalfWrittenFileWhileSavesRun) {
    Preset();
    LoadSettings(program_);
    // The stored drives as a scan leaves them: inactive permanent subst rows.
    ScanFacts facts;
    ScanSubstDrives(program_, facts);
    program_.drives.scanned = true;
    ASSERT_FALSE(program_.startup.EntriesUnread);

    // How the per-key writes of the private-profile call looked to the same
    // reader, for comparison only: the count depends on the moment.
    std::atomic<bool> done{false};
    std::atomic<int> progress{0};
    Counts before;
    {
        std::thread reader([&] { before = Poll(file_, 10, done, progress); });
        for (int save = 0; save < kSaves; ++save)
            for (int key = 0; key < 40; ++key)
                WritePrivateProfileStringA(kSection, ("Key" + std::to_string(key)).c_str(),
                                           std::to_string(save).c_str(), file_.c_str());
        done = true;
        reader.join();
    }
    Preset();
    LoadSettings(program_);

    done = false;
    progress = 0;
    Counts counts;
    std::thread reader([&] { counts = Poll(file_, 10, done, progress); });
    // The reader gets going before the first save.
    EXPECT_TRUE(WaitUntil([&] { return progress > 0; }));
    int written = 0;
    for (int save = 0; save < kSaves; ++save) {
        program_.settings.WindowWidth = 9000 + save;  // every save changes the file
        SaveSettings(program_);
        if (program_.startup.LastStatus == 0) ++written;
    }
    done = true;
    reader.join();
    std::cout << "[ torn reads ] per-key private-profile writes: " << before.torn << " torn of "
              << before.reads << " reads; whole-file replace: " << counts.torn << " torn of "
              << counts.reads << " reads over " << written << " saves (" << counts.refused
              << " opens refused)\n";
    EXPECT_EQ(written, kSaves);
    EXPECT_EQ(counts.torn, 0);
    EXPECT_GT(counts.reads, 0);
    EXPECT_TRUE(Complete(ReadBytes(file_), 10));
    EXPECT_EQ(IniRead(file_, kSection, "WindowWidth", ""), std::to_string(9000 + kSaves - 1));
}

// Kelvra.exe with P: (labelled) and Q: (deactivated) stored; the test holds
// the settings file without sharing while it maps W:, Kelvra scans and says
// the file cannot be read; after the release, the next save (F3 on W:, before
// any new scan) and the one at exit keep both.
using SettingsFileE2e = ScratchProgramTest;

TEST_F(SettingsFileE2e, AFileHeldDuringAScanKeepsEveryStoredDrive) {
    ASSERT_EQ(GetACP(), 1252u);
    const char p = FreeLetter('Y');
    const char q = FreeLetter(p - 1);
    const char w = FreeLetter(q - 1);
    ASSERT_TRUE(p && q && w);
    const std::string ini = Ini();
    const std::string dataPath = folder_ + "data";
    ASSERT_TRUE(CreateDirectoryA(dataPath.c_str(), nullptr));
    const std::string P(1, p), Q(1, q);
    WriteSettings("ShowHints=00\r\nLanguage=Deutsch\r\nSubstPath_" + P + "=" + dataPath +
                  "\r\nSubstPathLabel_" + P + "=Projekt\r\nSubstPath_" + Q + "=!" + dataPath +
                  "\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitUntil([&] { return StatusText(status_, 4).rfind("Bereit", 0) == 0; }));

    HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(DefineDosDeviceA(0, (std::string(1, w) + ":").c_str(), dataPath.c_str()));
    const bool told =
        WaitUntil([&] { return StatusText(status_, 4).find("INI-Datei gesperrt") == 0; });
    CloseHandle(held);
    EXPECT_TRUE(told) << "status: " << StatusText(status_, 4);

    // The next save comes before any new scan: F3 makes W: permanent.
    ASSERT_TRUE(Press(w, VK_F3));
    const std::string W(1, w);
    EXPECT_TRUE(
        WaitUntil([&] { return IniRead(ini, UserSection(), "SubstPath_" + W, "") == dataPath; }));
    EXPECT_EQ(IniRead(ini, UserSection(), "SubstPath_" + P, "<missing>"), dataPath);
    EXPECT_EQ(IniRead(ini, UserSection(), "SubstPathLabel_" + P, "<missing>"), "Projekt");
    EXPECT_EQ(IniRead(ini, UserSection(), "SubstPath_" + Q, "<missing>"), "!" + dataPath);

    ASSERT_TRUE(Close());
    EXPECT_EQ(IniRead(ini, UserSection(), "SubstPath_" + P, "<missing>"), dataPath);
    EXPECT_EQ(IniRead(ini, UserSection(), "SubstPathLabel_" + P, "<missing>"), "Projekt");
    EXPECT_EQ(IniRead(ini, UserSection(), "SubstPath_" + Q, "<missing>"), "!" + dataPath);
}

}  // namespace
}  // namespace kelvra::e2e
