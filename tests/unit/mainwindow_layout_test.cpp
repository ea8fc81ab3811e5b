// The main window's geometry from stored settings, and its keyboard table.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "mainwindow/layout.h"
#include "mainwindow/main_view.h"

namespace kelvra {
namespace {

TEST(Layout, TwipsAndPixelsAtCommonResolutions) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(9120, 96), 608);
    EXPECT_EQ(TwipsToPixels(9120, 144), 912);
    EXPECT_EQ(PixelsToTwips(608, 96), 9120);
    EXPECT_EQ(PixelsToTwips(-10, 96), -150);               // monitors left of the primary one
    EXPECT_EQ(PixelsToTwips(2147483647, 96), 2147483647);  // saturates, no overflow
}

TEST(Layout, WidthPosPutsTheListBetweenLedsAndButtons) {
    // 96 dpi: LED 16, gap 8; window 657, bar 120, frame room 24.
    WidthPos all = ComputeWidthPos(657, 120, 24, true, true, 96);
    EXPECT_EQ(all.listLeft, 24);
    EXPECT_EQ(all.listWidth, 657 - (16 + 24 + 16) - 112);
    EXPECT_EQ(all.barLeft, 657 - 120 - 24);
    EXPECT_EQ(all.listLeft + all.listWidth, all.barLeft);  // list ends where the bar begins
    WidthPos bare = ComputeWidthPos(657, 120, 24, false, false, 96);
    EXPECT_EQ(bare.listLeft, 8);
    EXPECT_EQ(bare.listWidth, 657 - 40);
    EXPECT_FALSE(bare.barEnabled);
    EXPECT_EQ(ComputeWidthPos(10, 120, 24, true, true, 96).listWidth, 0);  // never negative
}

TEST(Layout, ColumnSettingsAreCheckedBeforeUse) {
    struct Case {
        const char* order;
        const char* widths;
        std::array<int, 4> wantOrder;  // column at each position
        std::array<int, 4> wantWidths;
    } cases[] = {
        {"1/2/3/4", "1500/1200/3000/4500", {0, 1, 2, 3}, {100, 80, 200, 300}},
        {"2/1/3/4", "1500/1200/3000/4500", {1, 0, 2, 3}, {100, 80, 200, 300}},
        {"4/3/2/1", "", {3, 2, 1, 0}, {0, 0, 0, 0}},
        // the default widths of 15 twips are one pixel: fitted instead
        {"1/2/3/4", "15/15/15/15", {0, 1, 2, 3}, {0, 0, 0, 0}},
        {"1/1/3/4", "x/-300/99999999/1500", {0, 1, 2, 3}, {0, 0, 0, 100}},
        {"1/2/3", "1500/1500", {0, 1, 2, 3}, {100, 100, 0, 0}},
        {"1/2/3/4/5", "1500/1500/1500/1500/1500", {0, 1, 2, 3}, {100, 100, 100, 100}},
        {"0/1/2/3", "1500", {0, 1, 2, 3}, {100, 0, 0, 0}},
        {"1.5/2/3/4", "", {0, 1, 2, 3}, {0, 0, 0, 0}},
        {"junk", "junk", {0, 1, 2, 3}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ColumnLayout l = ParseColumnLayout(c.order, c.widths, 96);
        EXPECT_EQ(l.order, c.wantOrder) << c.order;
        EXPECT_EQ(l.widths, c.wantWidths) << c.widths;
    }
}

TEST(Layout, ColumnTextsRoundTrip) {
    const std::array<int, 4> order{2, 0, 3, 1};  // column 2 first, ...
    EXPECT_EQ(ColumnOrderText(order), "2/4/1/3");
    EXPECT_EQ(ParseColumnLayout(ColumnOrderText(order), "", 96).order, order);
    EXPECT_EQ(ColumnWidthText({100, 80, 200, 1}, 96), "1500/1200/3000/15");
    EXPECT_EQ(ColumnWidthText({150, 120, 300, 450}, 144), "1500/1200/3000/4500");
}

TEST(Layout, SizeLimitsAndTheWidthAtLoad) {
    SizeLimits fixed = ComputeSizeLimits(false, 657, 600, 1024, 96);
    EXPECT_EQ(fixed.minWidth, 657);
    EXPECT_EQ(fixed.maxWidth, 657);
    EXPECT_EQ(fixed.minHeight, 600);
    EXPECT_EQ(fixed.maxHeight, 600);
    SizeLimits free = ComputeSizeLimits(true, 657, 600, 1024, 96);
    EXPECT_EQ(free.minWidth, 457);
    EXPECT_EQ(free.maxWidth, 1024);
    EXPECT_EQ(free.minHeight, 600);
    EXPECT_EQ(ComputeSizeLimits(true, 985, 900, 1536, 144).minWidth, 685);

    struct Case {
        int windowWidthTwips;
        int want;
    } cases[] = {{9120, 608}, {0, 457}, {-5000, 457}, {2147483647, 1024}, {7000, 467}};
    for (const Case& c : cases)
        EXPECT_EQ(InitialWindowWidth(true, c.windowWidthTwips, free, 657, 96), c.want)
            << c.windowWidthTwips;
    EXPECT_EQ(InitialWindowWidth(false, 20000, fixed, 657, 96), 657);
}

TEST(Layout, ListGivesUpHeightOnlyWhenTheWindowIsTallerThanTheScreen) {
    struct Case {
        int list, minList, window, work, want;
    } cases[] = {
        {600, 370, 780, 728, 548},  // 144 dpi on a 768-pixel screen: 52 pixels too tall
        {600, 370, 728, 728, 600},  // fits exactly
        {600, 370, 500, 728, 600},  {600, 370, 1200, 728, 370},  // never below the button bar
        {300, 370, 1200, 728, 300},  // a list already shorter stays as it is
        {600, 370, 780, 0, 600},     // no work area known
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListHeightToFit(c.list, c.minList, c.window, c.work), c.want)
            << c.list << " " << c.window << " " << c.work;
}

// The list makes a row as tall as its text or its image, plus one pixel.
TEST(Layout, RowsAreAtLeastAsTallAsTheirLedsAtEveryResolution) {
    for (int dpi : {72, 96, 120, 144, 168, 192, 240, 288}) {
        const int textRow = Scale96(13, dpi);  // 8-point text, a pixel short of the LED
        const int row = std::max(textRow, RowImageHeight(dpi)) + 1;
        EXPECT_GE(row, LedSize(dpi)) << dpi;
        EXPECT_EQ(LedSizeInRow(row, dpi), LedSize(dpi)) << dpi;
    }
    EXPECT_EQ(LedSize(96), 16);
    EXPECT_EQ(LedSize(144), 24);
    // A list that did not take the image's height: the LEDs shrink to the
    // rows rather than overlap.
    EXPECT_EQ(LedSizeInRow(14, 96), 14);
    EXPECT_EQ(LedSizeInRow(0, 96), 1);
}

TEST(Layout, ALongPathIsCutByItsColumnAndTheListGrowsOnlyForAScrollBar) {
    struct Case {
        const char* situation;
        int content, caption, others, client, want;
    } cases[] = {
        {"short path keeps its width", 200, 60, 300, 700, 200},
        {"long path cut to the room left", 1200, 60, 300, 700, 400},
        {"exactly the room left", 400, 60, 300, 700, 400},
        {"no room left: the caption stays readable", 1200, 60, 700, 650, 60},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FittedPathWidth(c.content, c.caption, c.others, c.client), c.want) << c.situation;

    // 144 dpi: 26 rows of 25 pixels under a 30-pixel header.
    const ListMetrics m{30, 25, 26, 7, 25};
    const int rowsOnly = 30 + 26 * 25 + 7;
    const int client = 700;
    const std::array<int, 4> fitted{60, 110, 130, FittedPathWidth(1200, 60, 300, client)};
    EXPECT_FALSE(ColumnsOverflow(fitted, client));
    EXPECT_EQ(ListHeightForRows(m, ColumnsOverflow(fitted, client)), rowsOnly);
    // A column widened by the user: the bar shows below the last row.
    const std::array<int, 4> widened{60, 110, 130, 1200};
    EXPECT_TRUE(ColumnsOverflow(widened, client));
    EXPECT_EQ(ListHeightForRows(m, ColumnsOverflow(widened, client)), rowsOnly + 25);
    EXPECT_FALSE(ColumnsOverflow({0, 0, 0, 0}, 0));
}

TEST(Layout, WindowPositionFromLastPos) {
    const std::vector<Rect> one{{0, 0, 1024, 738}};
    const std::vector<Rect> two{{0, 0, 1024, 738}, {-1280, 0, 0, 1024}};
    struct Case {
        const char* lastPos;
        const std::vector<Rect>* areas;
        Point want;
    } cases[] = {
        {"<center>", &one, {(1024 - 600) / 2, (738 - 500) / 2}},
        {"1500/3000", &one, {100, 200}},
        {"", &one, {0, 0}},                    // empty: top left corner
        {"junk", &one, {0, 0}},                // junk parts count as 0
        {"1500", &one, {100, 0}},              // too few parts
        {"1500/3000/45/7", &one, {100, 200}},  // extra parts ignored
        {"-15000/3000", &one, {212, 119}},     // off every screen: centred
        {"-15000/3000", &two, {-1000, 200}},   // on the monitor left of the primary
        {"99999999/99999999", &one, {212, 119}},
        {"1500/-300", &one, {212, 119}},  // title bar above the screen
    };
    for (const Case& c : cases) {
        Point p = WindowPosition(c.lastPos, 600, 500, *c.areas, 96);
        EXPECT_EQ(p.x, c.want.x) << c.lastPos;
        EXPECT_EQ(p.y, c.want.y) << c.lastPos;
    }
    EXPECT_EQ(LastPosText(100, -20, 96), "1500/-300");
}

// A window stored anywhere on a desktop of monitors at several DPIs (the
// coordinates are physical pixels) opens where it was, whatever the system
// DPI the conversion uses.
TEST(Layout, LastPosReadsBackToTheSamePlaceOnEveryMonitor) {
    const std::vector<Rect> areas{
        {0, 0, 1920, 1040}, {1920, -300, 4480, 1140}, {-1600, 200, 0, 1100}};
    const Point places[] = {{0, 0},      {37, 11},     {1900, 1000}, {2001, -299},
                            {4000, 977}, {-1599, 201}, {-733, 1031}, {-100, 1050}};
    for (int systemDpi : {96, 120, 144, 168, 192}) {
        for (const Point& at : places) {
            const std::string stored = LastPosText(at.x, at.y, systemDpi);
            const Point p = WindowPosition(stored, 400, 300, areas, systemDpi);
            EXPECT_EQ(p.x, at.x) << systemDpi << " " << stored;
            EXPECT_EQ(p.y, at.y) << systemDpi << " " << stored;
        }
    }
}

TEST(Layout, KeyboardTable) {
    MainState idle;
    idle.Can.fill(true);
    MainState moving = idle;
    moving.MoveMode = true;
    MainState nothing;  // no command available
    const Modifiers none{}, ctrl{true, false, false}, shift{false, true, false},
        alt{false, false, true}, ctrlShift{true, true, false};
    struct Case {
        int key;
        Modifiers mods;
        const MainState* state;
        bool nt;
        KeyAction want;
    } cases[] = {
        {'D', ctrl, &nothing, true, KeyAction::Debug},
        {'D', none, &idle, true, KeyAction::None},
        {'D', ctrlShift, &idle, true, KeyAction::None},  // modifiers must match exactly
        {'H', ctrl, &nothing, true, KeyAction::History},
        {'P', ctrl, &idle, true, KeyAction::DeviceNames},
        {'P', ctrl, &idle, false, KeyAction::None},  // Windows 98
        {'R', ctrl, &nothing, true, KeyAction::Refresh},
        {vk::kEscape, none, &idle, true, KeyAction::None},
        {vk::kEscape, none, &moving, true, KeyAction::CancelMove},
        {vk::kReturn, none, &idle, true, KeyAction::None},
        {vk::kReturn, none, &moving, true, KeyAction::CompleteMove},
        {vk::kReturn, alt, &nothing, true, KeyAction::Info},
        {vk::kF1, shift, &nothing, true, KeyAction::KeyboardHelp},
        {vk::kF1, none, &nothing, true, KeyAction::Help},
        {vk::kF1, ctrl, &idle, true, KeyAction::None},
        {vk::F(2), none, &idle, true, KeyAction::Rename},
        {vk::F(3), none, &idle, true, KeyAction::Fix},
        {vk::F(4), none, &idle, true, KeyAction::Deactivate},
        {vk::F(5), none, &idle, true, KeyAction::DeactivatePerm},
        {vk::F(5), ctrlShift, &idle, true, KeyAction::Link},
        {vk::F(5), ctrl, &idle, true, KeyAction::None},
        {vk::F(6), none, &idle, true, KeyAction::StartMove},
        {vk::F(6), none, &moving, true, KeyAction::None},
        {vk::F(7), none, &idle, true, KeyAction::New},
        {vk::F(8), none, &idle, true, KeyAction::Kill},
        {vk::F(12), none, &nothing, true, KeyAction::Config},
    };
    for (const Case& c : cases) EXPECT_EQ(MapKey(c.key, c.mods, *c.state, c.nt), c.want) << c.key;
    for (int f = 2; f <= 8; ++f)  // a command's key does nothing while it is unavailable
        EXPECT_EQ(MapKey(vk::F(f), none, nothing, true), KeyAction::None) << f;
}

// The keys menus show beside their items must be the keys that do the same.
TEST(Layout, KeyTextNamesTheKeyThatRunsTheAction) {
    MainState idle;
    idle.Can.fill(true);
    MainState moving = idle;
    moving.MoveMode = true;
    for (int a = static_cast<int>(KeyAction::None) + 1; a <= static_cast<int>(KeyAction::Config);
         ++a) {
        const auto action = static_cast<KeyAction>(a);
        const std::string text = KeyText(action);
        ASSERT_FALSE(text.empty()) << a;
        Modifiers mods;
        int key = 0;
        std::vector<std::string> tokens(1);
        for (char c : text) {
            if (c == '+')
                tokens.emplace_back();
            else
                tokens.back() += c;
        }
        for (const std::string& token : tokens) {
            if (token == "Ctrl")
                mods.ctrl = true;
            else if (token == "Shift")
                mods.shift = true;
            else if (token == "Alt")
                mods.alt = true;
            else if (token == "Enter")
                key = vk::kReturn;
            else if (token == "Esc")
                key = vk::kEscape;
            else if (token.size() > 1 && token[0] == 'F')
                key = vk::F(std::stoi(token.substr(1)));
            else if (token.size() == 1)
                key = token[0];
            else
                ADD_FAILURE() << text;
        }
        const bool inMove = action == KeyAction::CancelMove || action == KeyAction::CompleteMove;
        EXPECT_EQ(MapKey(key, mods, inMove ? moving : idle, true), action) << text;
    }
    EXPECT_EQ(KeyText(KeyAction::None), "");
}

// A key and the menu item that shows it run the same button; the window's
// own operations run none.
TEST(Layout, CommandOfActionRunsTheButtonOfTheKey) {
    const struct {
        KeyAction action;
        bool runs;
        Command command;
    } cases[] = {
        {KeyAction::New, true, Command::New},
        {KeyAction::StartMove, true, Command::Move},
        {KeyAction::CompleteMove, true, Command::Move},
        {KeyAction::CancelMove, true, Command::Move},
        {KeyAction::Kill, true, Command::Kill},
        {KeyAction::Fix, true, Command::Fix},
        {KeyAction::Deactivate, true, Command::Deactivate},
        {KeyAction::DeactivatePerm, true, Command::DeactivatePerm},
        {KeyAction::Rename, true, Command::Rename},
        {KeyAction::Link, true, Command::Link},
        {KeyAction::None, false, {}},
        {KeyAction::Refresh, false, {}},
        {KeyAction::Config, false, {}},
        {KeyAction::Help, false, {}},
        {KeyAction::Exit, false, {}},
    };
    for (const auto& c : cases) {
        Command command = Command::Link;
        EXPECT_EQ(CommandOfAction(c.action, command), c.runs) << static_cast<int>(c.action);
        if (c.runs) {
            EXPECT_EQ(command, c.command) << static_cast<int>(c.action);
        }
    }
}

}  // namespace
}  // namespace kelvra
