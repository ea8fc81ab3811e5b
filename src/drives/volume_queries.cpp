#include "drives/volume_queries.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "drives/subst.h"

namespace kelvra {

namespace {

struct Job {
    DriveQuestion question;
    std::function<void()> wake;
};

// One query's answer. Nothing may escape the worker: a failure of any kind
// is an answer without values.
DriveAnswer AnswerOf(Os& os, const DriveQuestion& question) {
    DriveAnswer answer;
    answer.question = question;
    try {
        if (question.volume)
            answer.volumeFound = os.GetVolumeInformation(Device(question.index) + "\\",
                                                         answer.label, answer.fileSystem);
        if (!question.path.empty()) answer.longPath = LongPathName(os, question.path);
    } catch (...) {
        answer = DriveAnswer{};
        answer.question = question;
    }
    return answer;
}

}  // namespace

// Everything a worker uses lives here, shared with the workers, so a worker
// that outlives its VolumeQueries still has it. Workers never touch the
// program or the view: they get the Os, the clock and the wake call.
struct VolumeQueries::Shared {
    explicit Shared(Os& os) : os(os) {}
    Os& os;
    QueryClock clock = [] { return std::chrono::steady_clock::now(); };
    std::mutex mutex;
    std::condition_variable idle;
    struct Slot {
        bool busy = false;  // a worker queries the drive
        std::optional<Job> waiting;
    };
    std::array<Slot, kDriveRows> slots;
    int workers = 0;  // threads not yet done with the Os
    std::vector<DriveAnswer> inbox;

    void Run(Job job);
    // The waiting question of the drive that is still worth asking; none
    // ends the drive's turn.
    std::optional<Job> Next(DriveIndex index);
};

std::optional<Job> VolumeQueries::Shared::Next(DriveIndex index) {
    std::lock_guard<std::mutex> lock(mutex);
    Slot& slot = slots[index];
    std::optional<Job> next = std::move(slot.waiting);
    slot.waiting.reset();
    if (next && clock() - next->question.askedAt > kAnswerGiveUp) next.reset();
    if (!next) slot.busy = false;
    return next;
}

void VolumeQueries::Shared::Run(Job job) {
    // A card reader without a card must fail quietly here too, and without
    // touching the process's mode, which the window thread sets and restores
    // around its own queries.
    uint32_t previousMode = 0;
    const bool quiet = os.SetThreadErrorMode(kSemFailCriticalErrors, previousMode);
    for (std::optional<Job> next = std::move(job); next;) {
        DriveAnswer answer = AnswerOf(os, next->question);
        answer.answeredAt = clock();
        {
            std::lock_guard<std::mutex> lock(mutex);
            inbox.push_back(std::move(answer));
        }
        if (next->wake) next->wake();
        next = Next(next->question.index);
    }
    if (quiet) os.SetThreadErrorMode(previousMode, previousMode);
    std::lock_guard<std::mutex> lock(mutex);
    --workers;
    idle.notify_all();
}

VolumeQueries::VolumeQueries(Os& os) : shared_(std::make_shared<Shared>(os)) {}

VolumeQueries::~VolumeQueries() = default;

void VolumeQueries::SetClock(QueryClock clock) {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->clock = std::move(clock);
}

QueryTime VolumeQueries::Now() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->clock();
}

void VolumeQueries::Ask(DriveQuestion question, std::function<void()> wake) {
    if (!ValidDriveIndex(question.index)) return;
    Shared& s = *shared_;
    std::unique_lock<std::mutex> lock(s.mutex);
    Shared::Slot& slot = s.slots[question.index];
    if (slot.busy) {
        slot.waiting = Job{std::move(question), std::move(wake)};
        return;
    }
    slot.busy = true;
    ++s.workers;
    lock.unlock();
    try {
        std::thread([shared = shared_, job = Job{std::move(question), std::move(wake)}]() mutable {
            shared->Run(std::move(job));
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the row goes without the answer.
        lock.lock();
        slot.busy = false;
        --s.workers;
    }
}

std::vector<DriveAnswer> VolumeQueries::TakeAnswers() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return std::exchange(shared_->inbox, {});
}

bool VolumeQueries::WaitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    return shared_->idle.wait_for(lock, timeout, [this] { return shared_->workers == 0; });
}

}  // namespace kelvra
