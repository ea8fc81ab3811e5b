// What the list knows of the drives whose volume and path queries run on a
// worker thread: per row, the question of the current scan and its answer,
// and the rows last handed to the view, so an answer redraws only its row.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "drives/drive_tables.h"
#include "drives/volume_queries.h"
#include "mainwindow/main_view.h"
#include "platform/os.h"

namespace kelvra {

struct RowAnswer {
    enum class State { None, Asked, Answered, GivenUp };
    State state = State::None;
    uint64_t scan = 0;  // the scan the question belongs to
    bool volume = false;
    std::string path;  // what was asked
    bool volumeFound = false;
    std::string label, fileSystem, longPath;
    // Asked again by a newer scan: the fields above still hold the last
    // answer to the same question, shown until the new one comes, so a
    // refresh does not blank the labels of every network drive for a moment.
    bool stale = false;
    std::string drive;  // type and path of the row when asked
};

struct RowAnswers {
    explicit RowAnswers(Os& os) : queries(os) {}
    VolumeQueries queries;
    std::array<RowAnswer, kDriveRows> rows;
    RowViews shown{};
};

}  // namespace kelvra
