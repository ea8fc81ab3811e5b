// The list's popup offers what the buttons offer, with their captions.
#include <gtest/gtest.h>

#include "drives/scan.h"
#include "drives_machine.h"
#include "mainwindow/main_window.h"
#include "mainwindow/menus.h"
#include "sim/fake_main_view.h"

namespace kelvra::test {
namespace {

// "caption+" for an enabled item, "caption-" for a greyed one, "|" for a separator.
std::wstring Shown(const std::array<MenuEntry, 10>& entries) {
    std::wstring s;
    for (const MenuEntry& e : entries)
        s += e.separator ? L"|" : e.caption + (e.enabled ? L"+" : L"-");
    return s;
}

TEST(ContextMenu, TakesTheButtonsCaptionsAndAvailability) {
    TestMachine m;
    sim::FakeMainView view;
    Program& p = m.Started();
    p.view = &view;
    m.sim.AddDrive('C', kDriveFixed);
    m.sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Subst(m.sim, 'K', "C:\\Data"));
    StoreDriveEntry(m.sim, 'K', "C:\\Data");
    p.startup.ApplicationPath = "C:\\Program Files\\Kelvra\\";
    RefreshAll(p);
    ASSERT_TRUE(p.startup.Local);

    view.selected = DriveIndexOf('K');
    lsvView_ItemClick(p);
    EXPECT_EQ(Shown(ContextMenuEntries(p)),
              L"&Ändern+&Verschieben+T&rennen+|&Temporär+D&eaktivieren+Per&m. deaktivieren+|"
              L"&Umbenennen+Auf Deskt&op+");

    view.selected = DriveIndexOf('M');  // a free letter
    lsvView_ItemClick(p);
    EXPECT_EQ(Shown(ContextMenuEntries(p)),
              L"&Verbinden+&Verschieben-T&rennen-|&Permanent-D&eaktivieren-Per&m. deaktivieren-|"
              L"&Umbenennen-Auf Deskt&op-");

    // Move mode from K: a free row inserts, the source cancels, nothing else.
    p.main.MoveMode = true;
    p.main.MoveSource = DriveIndexOf('K');
    lsvView_ItemClick(p);
    EXPECT_EQ(Shown(ContextMenuEntries(p)),
              L"&Verbinden-&Einfügen+T&rennen-|&Permanent-D&eaktivieren-Per&m. deaktivieren-|"
              L"&Umbenennen-Auf Deskt&op-");
    view.selected = DriveIndexOf('K');
    lsvView_ItemClick(p);
    EXPECT_EQ(Shown(ContextMenuEntries(p)).substr(0, 27), L"&Ändern-&Abbrechen+T&rennen");
    EXPECT_EQ(ContextMenuEntries(p)[1].key,
              KeyAction::CancelMove);  // Esc, not Enter, on the source
    view.selected = DriveIndexOf('M');
    lsvView_ItemClick(p);
    EXPECT_EQ(ContextMenuEntries(p)[1].key, KeyAction::CompleteMove);
    view.selected = DriveIndexOf('C');
    lsvView_ItemClick(p);
    EXPECT_EQ(Shown(ContextMenuEntries(p)).find(L'+'), std::wstring::npos);

    // Hidden buttons change nothing: the flags are the logic's, not the bar's.
    p.settings.ShowButtons = false;
    p.main.MoveMode = false;
    p.main.MoveSource = -1;
    view.selected = DriveIndexOf('K');
    lsvView_ItemClick(p);
    EXPECT_EQ(Shown(ContextMenuEntries(p)).substr(0, 8), L"&Ändern+");
    // Every item names the key that runs its command in this state.
    for (const MenuEntry& e : ContextMenuEntries(p)) {
        if (e.separator) continue;
        EXPECT_NE(e.key, KeyAction::None);
        EXPECT_NE(e.key, KeyAction::CancelMove);
    }
    EXPECT_EQ(ContextMenuEntries(p)[1].key, KeyAction::StartMove);
    EXPECT_EQ(ContextMenuEntries(p)[9].key, KeyAction::Link);
}

}  // namespace
}  // namespace kelvra::test
