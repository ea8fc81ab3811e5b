// Questions about drives that can keep the caller waiting for many seconds (a
// network drive whose server is away, an optical drive spinning up, a card
// reader): the volume label and file-system name, and the long form of a
// path on the drive. They are asked on worker threads, so the window never
// waits for them; the answers are collected for the window thread to take.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drives/drive_tables.h"
#include "platform/os.h"

namespace kelvra {

using QueryTime = std::chrono::steady_clock::time_point;
// The time now; called from any thread.
using QueryClock = std::function<QueryTime()>;

// An answer that takes longer than this after its question is given up.
constexpr std::chrono::milliseconds kAnswerGiveUp{1000};

struct DriveQuestion {
    DriveIndex index = 0;
    uint64_t generation = 0;  // whose question it is (the scan that asked)
    bool volume = false;      // label and file-system name of the letter's root
    std::string path;         // a path whose long form is wanted; empty: none
    QueryTime askedAt{};
};

struct DriveAnswer {
    DriveQuestion question;
    bool volumeFound = false;       // the volume query succeeded
    std::string label, fileSystem;  // as the system gave them; empty on failure
    std::string longPath;           // empty when the query failed
    QueryTime answeredAt{};
};

class VolumeQueries {
  public:
    explicit VolumeQueries(Os& os);
    // Queries still running are left to end on their own (their threads are
    // detached): a query hanging on a server that went away must not hold up
    // the end of the program. The Os must therefore outlive every query;
    // Kelvra's lives until the process ends.
    ~VolumeQueries();
    VolumeQueries(const VolumeQueries&) = delete;
    VolumeQueries& operator=(const VolumeQueries&) = delete;

    // Replaces the clock (tests); only before the first question.
    void SetClock(QueryClock clock);
    QueryTime Now() const;

    // Asks on a worker thread, which calls `wake` once the answer is in
    // (`wake` must be callable from any thread). A drive has at most one
    // query in flight: a question for a drive whose query still runs waits,
    // in place of any question that waited before it, and is asked when that
    // query ends, unless it is older than kAnswerGiveUp by then.
    void Ask(DriveQuestion question, std::function<void()> wake);
    // The answers that came in since the last call, in their order.
    std::vector<DriveAnswer> TakeAnswers();
    // Waits until no query runs or waits (tests); false after the timeout.
    bool WaitIdle(std::chrono::milliseconds timeout);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace kelvra
