#include <gtest/gtest.h>

#include "commands_machine.h"
#include "mainwindow/main_window.h"
#include "sim/fake_main_view.h"

namespace kelvra::test {
namespace {

// The buttons in bar order as one string: its letter when enabled, else '-';
// faces: 'r' for red, '.' for the normal face.
std::string Enabled(const CommandView& v) {
    std::string s;
    for (int i = 0; i < kCommandCount; ++i) s += v.enabled[i] ? "NMKFDPRL"[i] : '-';
    return s;
}
std::string Faces(const CommandView& v) {
    std::string s;
    for (uint32_t f : v.faces) s += f == colour::kRed ? 'r' : f == kButtonFace ? '.' : '?';
    return s;
}

class Buttons : public MixedRows {
  protected:
    void SetUp() override {
        MixedRows::SetUp();
        ASSERT_TRUE(m.program.startup.Local);
    }
    CommandView For(char letter) { return ComputeCommands(m.program, DriveIndexOf(letter)); }
};

// Captions of New, Move, Fix and Deactivate by the letter after their "&":
// New Verbinden/Ändern, Move Verschieben/Einfügen/Abbrechen, Fix Permanent/
// Temporär, Deactivate eaktivieren/Aktivieren.
std::wstring Captions(const CommandView& v) {
    std::wstring s;
    for (int i : {0, 1, 3, 4}) s += v.captions[i][v.captions[i].find(L'&') + 1];
    return s;
}

TEST_F(Buttons, AvailabilityAndCaptions) {
    // clang-format off
    struct Case { const char* situation; char letter; bool local, move;
                  const char* enabled; const wchar_t* captions; };
    const Case cases[] = {
        {"Free", 'Q', true, false, "N-------", L"VVPe"},
        {"LocalDisk", 'C', true, false, "-------L", L"VVPe"},
        {"PermanentSubst", 'K', true, false, "NMKFDPRL", L"ÄVTe"},
        {"PermanentSubstNotLocal", 'K', false, false, "NMK-D-RL", L"ÄVTe"},
        {"Deactivated", 'G', true, false, "NMK-D-R-", L"ÄVTA"},
        {"InactiveNotDisabled", 'F', true, false, "NMK-DPR-", L"ÄVTA"},
        {"TemporarySubst", 'D', true, false, "NMKF---L", L"ÄVPe"},
        {"NetworkNotLocal", 'H', false, false, "NMKF---L", L"ÄVPe"},
        {"VirtualMachineShare", 'L', true, false, "-------L", L"ÄVPe"},
        {"MoveTarget", 'Q', true, true, "-M------", L"VEPe"},
        {"MoveSource", 'K', true, true, "-M------", L"ÄATe"},
        {"MoveOther", 'D', true, true, "--------", L"ÄVPe"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        m.program.startup.Local = c.local;
        m.program.main.MoveMode = c.move;
        m.program.main.MoveSource = c.move ? DriveIndexOf('K') : -1;
        const CommandView v = For(c.letter);
        EXPECT_EQ(Enabled(v), c.enabled);
        EXPECT_EQ(Captions(v), c.captions);
        EXPECT_EQ(v.captions[2] + v.captions[5] + v.captions[6] + v.captions[7],
                  L"T&rennenPer&m. deaktivieren&UmbenennenAuf Deskt&op");
    }
}

TEST_F(Buttons, RedMarksWhatCutsALiveDriveWithoutAQuestion) {
    // clang-format off
    struct Case { char letter; bool showWarnings, expert; const char* faces; };
    const Case cases[] = {
        {'K', false, false, "rrr.rr.."},  // New Move Kill - Deactivate DeactivatePerm
        {'I', false, false, "rrrr.r.."},  // a network path: Fix reconnects it
        {'G', false, false, "........"},  // inactive: nothing live to cut
        {'Q', false, false, "........"},  // no path
        {'K', true, false, "........"},  {'K', false, true, "........"},
    };
    // clang-format on
    for (const Case& c : cases) {
        m.program.settings.ShowWarnings = c.showWarnings;
        m.program.settings.ExpertMode = c.expert;
        EXPECT_EQ(Faces(For(c.letter)), c.faces) << c.letter << c.showWarnings << c.expert;
    }
}

TEST_F(Buttons, ItemClickStoresFlagsOnlyForALetterRow) {
    sim::FakeMainView view;
    m.program.view = &view;
    view.selected = DriveIndexOf('K');
    lsvView_ItemClick(m.program);
    EXPECT_EQ(m.program.main.SelectedDrive, DriveIndexOf('K'));
    EXPECT_TRUE(m.program.main.CanDo(Command::Rename));
    EXPECT_EQ(Enabled(view.commands), "NMKFDPRL");
    view.selected = 0;  // no selection: the flags keep their last values
    lsvView_ItemClick(m.program);
    EXPECT_EQ(m.program.main.SelectedDrive, 0);
    EXPECT_TRUE(m.program.main.CanDo(Command::Rename));
    EXPECT_EQ(view.showCommandsCalls, 1);
}

}  // namespace
}  // namespace kelvra::test
