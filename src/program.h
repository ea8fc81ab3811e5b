// The whole state of one run, grouped by owner, with the operating system and
// the user interface it works through. There are no mutable globals.
#pragma once

#include <functional>

#include "drives/drive_tables.h"
#include "language/language.h"
#include "mainwindow/ui.h"
#include "platform/os.h"
#include "startup/settings.h"
#include "startup/startup_state.h"

namespace kelvra {

struct Program {
    Program(Os& os, Ui& ui) : os(os), ui(ui), settings(DefaultSettings()) {}

    Os& os;
    Ui& ui;
    StartupState startup;
    Settings settings;
    DriveTables drives;
    LanguageState language;
    // Set by the main window: puts the list layout (column order and widths,
    // window width) into the settings before a save. Empty while no list exists.
    std::function<void(Settings&)> captureListLayout;
};

}  // namespace kelvra
