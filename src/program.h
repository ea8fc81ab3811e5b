// The whole state of one run, grouped by owner, with the operating system and
// the user interface it works through. There are no mutable globals.
#pragma once

#include <memory>

#include "drives/drive_tables.h"
#include "language/language.h"
#include "mainwindow/main_state.h"
#include "mainwindow/row_answers.h"
#include "platform/os.h"
#include "platform/ui.h"
#include "shell/explorer_labels.h"
#include "startup/context_state.h"
#include "startup/settings.h"
#include "startup/startup_state.h"

namespace kelvra {

class MainView;

// The main window while one is attached, else a null view, so the logic never
// asks whether there is a window.
class ViewSlot {
  public:
    explicit ViewSlot(const DriveIndex& selected);  // the null view's selection
    ~ViewSlot();
    ViewSlot& operator=(MainView* window) {
        window_ = window;
        return *this;
    }
    MainView* operator->() const { return window_ ? window_ : none_.get(); }
    bool operator==(const MainView* window) const { return window_ == window; }

  private:
    std::unique_ptr<MainView> none_;
    MainView* window_ = nullptr;
};

struct Program {
    Program(Os& os, Ui& ui) : os(os), ui(ui), settings(DefaultSettings()) {}

    Os& os;
    Ui& ui;
    StartupState startup;
    Settings settings;
    DriveTables drives;
    LanguageState language;
    MainState main;
    ContextState context;
    ExplorerLabelKeys explorerLabels;
    // Volume and path answers of the drives that can stall, asked off the
    // window thread.
    RowAnswers answers{os};
    // The main window while it exists; the null view before it is loaded and
    // in runs that never load it (autostart without /stay).
    ViewSlot view{main.SelectedDrive};
};

}  // namespace kelvra
