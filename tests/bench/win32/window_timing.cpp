// Start time and idle CPU time of the real Kelvra.exe, driven from outside the
// way a user starts it. Not a test: it passes or fails nothing.
//
//   window_timing start [starts] [rounds]
//       Alternates starts of Kelvra.exe and bare_window.exe (both beside this
//       program) and prints, per start and as medians, the milliseconds from
//       CreateProcess to a visible main window that answers a message; with
//       rounds, each round's medians and ratio, then those of all rounds.
//   window_timing idle [seconds] [settle seconds] [wineserver unix pid]
//       Prints the CPU time of every process of the prefix (and, given its
//       Linux pid, of the Wine server) over `seconds` without Kelvra, then
//       over `seconds` with Kelvra.exe idle on its main window; four subst
//       drives stand defined throughout.
//
// Both run Kelvra.exe from a scratch program folder that holds a settings file
// and the language packs, so a start is an ordinary one, not a first run.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/win32/cpu_times.h"
#include "wine/e2e_support.h"

namespace {

using kelvra::bench::FileTimeMs;
using kelvra::bench::LinuxCpuMs;

using namespace kelvra::e2e;

constexpr DWORD kTimeoutMs = 15000;
constexpr char kKelvraTitle[] = "Kelvra V";
constexpr char kBareTitle[] = "Bare window";

double MsSince(const LARGE_INTEGER& from) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// A program folder in the temp folder with both programs, the language packs
// and a settings file in the current user's section.
class Install {
  public:
    Install() : folder_(MakeScratchFolder("timing")) {
        const std::string from = BuildFolder();
        ok_ = CopyInto(from + "Kelvra.exe", folder_) && CopyInto(from + "bare_window.exe", folder_);
        CopyLanguagePacks();
        settings_ = "[" + UserSection() + "]\r\nLanguage=Deutsch\r\n";
        ok_ = ok_ && RestoreSettings();
    }
    ~Install() { RemoveTree(folder_); }
    Install(const Install&) = delete;
    Install& operator=(const Install&) = delete;

    bool ok() const { return ok_; }
    const std::string& folder() const { return folder_; }
    std::string Kelvra() const { return folder_ + "Kelvra.exe"; }
    std::string Bare() const { return folder_ + "bare_window.exe"; }
    std::string SettingsFile() const { return folder_ + "kelvra.ini"; }
    // Every start then reads the file Kelvra itself saved at its last close.
    void KeepSavedSettings() {
        const std::string saved = ReadBytes(SettingsFile());
        if (!saved.empty()) settings_ = saved;
    }
    bool RestoreSettings() const { return WriteBytes(SettingsFile(), settings_); }

  private:
    void CopyLanguagePacks() {
        const std::string source = SourcePath("languages/");
        const std::string target = folder_ + "languages\\";
        CreateDirectoryA(target.c_str(), nullptr);
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((source + "*.lng").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            CopyInto(source + data.cFileName, target);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }

    std::string folder_;
    std::string settings_;
    bool ok_ = false;
};

// A started program with its main window; closes it like the user does.
class Run {
  public:
    Run() = default;
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    ~Run() { Close(); }

    // Milliseconds from CreateProcess to: WaitForInputIdle returning, the
    // first poll that sees the visible window, and that window answering a
    // sent WM_NULL (its thread has reached a message loop). False on failure.
    bool Start(const std::string& exe, const char* fragment) {
        LARGE_INTEGER t0;
        QueryPerformanceCounter(&t0);
        if (!process_.Start(exe, "")) return false;
        WaitForInputIdle(process_.handle(), kTimeoutMs);
        idleMs = MsSince(t0);
        std::vector<HWND> windows;
        while ((windows = VisibleWindowsOf(process_.id(), "", fragment)).empty()) {
            if (MsSince(t0) > kTimeoutMs || !process_.Running()) return false;
            Sleep(1);
        }
        window_ = windows.front();
        visibleMs = MsSince(t0);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result))
            return false;
        answerMs = MsSince(t0);
        return true;
    }

    // WM_CLOSE to the main window, then the process must end.
    bool Close() {
        if (!process_.handle() || closed_) return true;
        closed_ = true;
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (process_.Wait(kTimeoutMs)) return true;
        process_.Kill();
        return false;
    }

    DWORD id() const { return process_.id(); }

    double idleMs = 0, visibleMs = 0, answerMs = 0;

  private:
    Process process_;
    HWND window_ = nullptr;
    bool closed_ = false;
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Samples {
    std::vector<double> idle, visible, answer;
    void Add(const Run& run) {
        idle.push_back(run.idleMs);
        visible.push_back(run.visibleMs);
        answer.push_back(run.answerMs);
    }
};

bool TimedStart(Install& install, bool kelvra, Samples& samples) {
    if (kelvra && !install.RestoreSettings()) return false;
    Run run;
    if (!run.Start(kelvra ? install.Kelvra() : install.Bare(),
                   kelvra ? kKelvraTitle : kBareTitle)) {
        std::printf("%s: no answering window\n", kelvra ? "Kelvra" : "bare");
        return false;
    }
    std::printf("  %-6s input idle %7.1f  visible %7.1f  answers %7.1f ms\n",
                kelvra ? "Kelvra" : "bare", run.idleMs, run.visibleMs, run.answerMs);
    samples.Add(run);
    if (!run.Close()) {
        std::printf("%s did not end after WM_CLOSE\n", kelvra ? "Kelvra" : "bare");
        return false;
    }
    // Let the server and the display finish with the ended process.
    Sleep(300);
    return true;
}

void PrintMedians(const char* heading, const Samples& bare, const Samples& kelvra) {
    const double b = Median(bare.answer), k = Median(kelvra.answer);
    std::printf("%s (ms)        input idle  visible  answers\n", heading);
    std::printf("  bare window   %8.1f %8.1f %8.1f\n", Median(bare.idle), Median(bare.visible), b);
    std::printf("  Kelvra        %8.1f %8.1f %8.1f\n", Median(kelvra.idle), Median(kelvra.visible),
                k);
    // The two starts of a pair ran back to back, under much the same load.
    std::vector<double> paired;
    for (std::size_t i = 0; i < bare.answer.size() && i < kelvra.answer.size(); ++i)
        if (bare.answer[i] > 0) paired.push_back(kelvra.answer[i] / bare.answer[i]);
    std::printf("  ratio Kelvra / bare (answers) %.2f, median of the pairs' ratios %.2f\n",
                b > 0 ? k / b : 0.0, Median(paired));
}

void Append(Samples& to, const Samples& from) {
    to.idle.insert(to.idle.end(), from.idle.begin(), from.idle.end());
    to.visible.insert(to.visible.end(), from.visible.begin(), from.visible.end());
    to.answer.insert(to.answer.end(), from.answer.begin(), from.answer.end());
}

int StartTimes(int starts, int rounds) {
    Install install;
    if (!install.ok()) {
        std::printf("cannot set up the program folder %s\n", install.folder().c_str());
        return 1;
    }
    // One start each to warm the file cache; Kelvra's close writes its full
    // settings file, which every counted start then reads.
    Samples warmUp;
    std::printf("warm-up\n");
    if (!TimedStart(install, true, warmUp) || !TimedStart(install, false, warmUp)) return 1;
    install.KeepSavedSettings();

    Samples allBare, allKelvra;
    std::vector<double> roundRatios;
    for (int r = 0; r < rounds; ++r) {
        Samples bare, kelvra;
        for (int i = 0; i < starts; ++i) {
            std::printf("round %d, start %d\n", r + 1, i + 1);
            // ABBA order, so a drift in the machine's load hits both alike.
            const bool kelvraFirst = i % 2 == 1;
            for (int k = 0; k < 2; ++k) {
                const bool isKelvra = (k == 0) == kelvraFirst;
                if (!TimedStart(install, isKelvra, isKelvra ? kelvra : bare)) return 1;
            }
        }
        char heading[64];
        std::snprintf(heading, sizeof heading, "\nround %d: medians of %d starts each", r + 1,
                      starts);
        PrintMedians(heading, bare, kelvra);
        const double b = Median(bare.answer);
        roundRatios.push_back(b > 0 ? Median(kelvra.answer) / b : 0.0);
        Append(allBare, bare);
        Append(allKelvra, kelvra);
    }
    if (rounds > 1) {
        char heading[64];
        std::snprintf(heading, sizeof heading, "\nall %d rounds: medians of %d starts each", rounds,
                      starts * rounds);
        PrintMedians(heading, allBare, allKelvra);
    }
    std::printf("\nratio per round:");
    for (double ratio : roundRatios) std::printf(" %.2f", ratio);
    std::printf("  (highest %.2f)\n", *std::max_element(roundRatios.begin(), roundRatios.end()));
    return 0;
}

// ---- idle CPU -------------------------------------------------------------

// CPU time (kernel + user) of every process, as the sum over its threads.
// Wine answers GetThreadTimes of another process's thread from the thread's
// Linux accounting; GetProcessTimes of another process is of no use there (it
// reports the caller's own times).
struct CpuSnapshot {
    std::vector<std::pair<DWORD, std::string>> processes;
    std::vector<std::pair<DWORD, double>> threadMs;  // by owning process
    double ServerMs = -1;

    double Of(DWORD processId) const {
        double total = 0;
        for (const auto& [owner, ms] : threadMs)
            if (owner == processId) total += ms;
        return total;
    }
};

CpuSnapshot TakeSnapshot(int wineserverPid) {
    CpuSnapshot snapshot;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return snapshot;
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(snap, &process); more; more = Process32Next(snap, &process))
        snapshot.processes.emplace_back(process.th32ProcessID, process.szExeFile);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snap, &entry); more; more = Thread32Next(snap, &entry)) {
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, ended, kernel, user;
        if (GetThreadTimes(thread, &created, &ended, &kernel, &user))
            snapshot.threadMs.emplace_back(entry.th32OwnerProcessID,
                                           FileTimeMs(kernel) + FileTimeMs(user));
        CloseHandle(thread);
    }
    CloseHandle(snap);
    snapshot.ServerMs = LinuxCpuMs(wineserverPid);
    return snapshot;
}

// CPU milliseconds each process used between two snapshots, by name; the
// measuring program itself is left out.
struct Usage {
    std::vector<std::pair<std::string, double>> byName;
    double serverMs = -1;
    double wallMs = 0;

    double Of(const std::string& name) const {
        double total = 0;
        for (const auto& [n, ms] : byName)
            if (n == name) total += ms;
        return total;
    }
};

Usage Measure(int seconds, int wineserverPid) {
    LARGE_INTEGER t0;
    QueryPerformanceCounter(&t0);
    const CpuSnapshot before = TakeSnapshot(wineserverPid);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const CpuSnapshot after = TakeSnapshot(wineserverPid);
    Usage usage;
    usage.wallMs = MsSince(t0);
    for (const auto& [id, name] : after.processes) {
        if (id == GetCurrentProcessId()) continue;
        bool existed = false;
        for (const auto& p : before.processes) existed = existed || p.first == id;
        // A process started in between counts from its start.
        const double ms = after.Of(id) - (existed ? before.Of(id) : 0.0);
        bool merged = false;
        for (auto& [n, total] : usage.byName)
            if (n == name) {
                total += ms;
                merged = true;
            }
        if (!merged) usage.byName.emplace_back(name, ms);
    }
    if (before.ServerMs >= 0 && after.ServerMs >= 0)
        usage.serverMs = after.ServerMs - before.ServerMs;
    return usage;
}

void PrintUsage(const Usage& quiet, const Usage& polling) {
    auto share = [](double ms, double wall) { return wall > 0 ? ms * 100.0 / wall : 0.0; };
    std::printf("%-20s %12s %8s %12s %8s\n", "CPU ms (% of a core)", "without", "", "with Kelvra",
                "");
    std::vector<std::string> names;
    for (const auto& [n, ms] : polling.byName)
        if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    for (const auto& [n, ms] : quiet.byName)
        if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    double quietTotal = 0, pollingTotal = 0;
    for (const std::string& n : names) {
        const double q = quiet.Of(n), p = polling.Of(n);
        quietTotal += q;
        pollingTotal += p;
        std::printf("%-20s %12.0f %8.3f %12.0f %8.3f\n", n.c_str(), q, share(q, quiet.wallMs), p,
                    share(p, polling.wallMs));
    }
    std::printf("%-20s %12.0f %8.3f %12.0f %8.3f\n", "all Wine processes", quietTotal,
                share(quietTotal, quiet.wallMs), pollingTotal, share(pollingTotal, polling.wallMs));
    if (quiet.serverMs >= 0 && polling.serverMs >= 0)
        std::printf("%-20s %12.0f %8.3f %12.0f %8.3f\n", "wineserver (Linux)", quiet.serverMs,
                    share(quiet.serverMs, quiet.wallMs), polling.serverMs,
                    share(polling.serverMs, polling.wallMs));
}

// Four subst drives onto folders of the scratch folder, defined for the
// object's life: the idle list shows drives to check, as a user's does.
class IdleDrives {
  public:
    explicit IdleDrives(const std::string& folder) {
        for (int i = 0; i < 4; ++i) {
            const char letter = FreeLetter();
            const std::string target = folder + "idle" + std::to_string(i);
            if (!letter || !CreateDirectoryA(target.c_str(), nullptr)) break;
            drives_.push_back(std::make_unique<SubstDrive>(letter, target));
            if (drives_.back()->ok()) letters_ += letter;
        }
    }
    const std::string& letters() const { return letters_; }

  private:
    std::vector<std::unique_ptr<SubstDrive>> drives_;
    std::string letters_;
};

// A window of `seconds` with no Kelvra running, then one with Kelvra idle on
// its main window after `settle` seconds: the difference is what its poll
// costs, in its own process and in the processes its calls reach.
int IdleCpu(int seconds, int settle, int wineserverPid) {
    Install install;
    if (!install.ok()) {
        std::printf("cannot set up the program folder %s\n", install.folder().c_str());
        return 1;
    }
    const IdleDrives drives(install.folder());
    std::printf("subst drives: %s\n", drives.letters().c_str());
    if (wineserverPid > 0 && LinuxCpuMs(wineserverPid) < 0)
        std::printf("wineserver: /proc/%d/stat not readable\n", wineserverPid);
    std::printf("%d s without Kelvra ...\n", seconds);
    const Usage quiet = Measure(seconds, wineserverPid);

    Run kelvra;
    if (!kelvra.Start(install.Kelvra(), kKelvraTitle)) {
        std::printf("Kelvra: no answering window\n");
        return 1;
    }
    std::printf("Kelvra up after %.1f ms; settling %d s, then %d s with Kelvra ...\n",
                kelvra.answerMs, settle, seconds);
    Sleep(static_cast<DWORD>(settle) * 1000);
    const Usage polling = Measure(seconds, wineserverPid);
    std::printf("windows: %.1f s and %.1f s\n", quiet.wallMs / 1000, polling.wallMs / 1000);
    PrintUsage(quiet, polling);
    return kelvra.Close() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "start";
    auto number = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (mode == "start") return StartTimes(std::max(1, number(2, 11)), std::max(1, number(3, 1)));
    if (mode == "idle") return IdleCpu(std::max(1, number(2, 60)), number(3, 10), number(4, 0));
    std::printf(
        "usage: window_timing start [starts] [rounds] | idle [seconds] [settle] [wineserver "
        "pid]\n");
    return 2;
}
