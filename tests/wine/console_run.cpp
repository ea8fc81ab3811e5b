#include "wine/console_run.h"

#include <algorithm>
#include <memory>

namespace kelvra::e2e {
namespace {

// Reads a pipe to its end on a thread of its own: a program whose output
// fills the pipe would otherwise wait for a reader forever.
class PipeReader {
  public:
    bool Open(HANDLE& childEnd) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&read_, &childEnd, &inherit, 0)) return false;
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        return true;
    }
    void Start() { thread_ = CreateThread(nullptr, 0, &Read, this, 0, nullptr); }
    // The bytes once every writer has closed its end; false when one still
    // holds it open after the time (a process it started, say).
    bool Finish(std::string& bytes) {
        bool ended = true;
        if (thread_ && WaitForSingleObject(thread_, kStateTimeout) != WAIT_OBJECT_0) {
            CancelSynchronousIo(thread_);
            WaitForSingleObject(thread_, INFINITE);
            ended = false;
        }
        bytes = bytes_;
        return ended;
    }
    ~PipeReader() {
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (read_) CloseHandle(read_);
    }

  private:
    static DWORD WINAPI Read(void* self) {
        auto* reader = static_cast<PipeReader*>(self);
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(reader->read_, buffer, sizeof buffer, &n, nullptr) && n > 0)
            reader->bytes_.append(buffer, n);
        return 0;
    }
    HANDLE read_ = nullptr, thread_ = nullptr;
    std::string bytes_;
};

void Note(std::vector<std::string>& seen, HWND hwnd) {
    const std::string window = ClassOf(hwnd) + ": " + WindowTitle(hwnd);
    if (std::find(seen.begin(), seen.end(), window) == seen.end()) seen.push_back(window);
}

// Top-level windows of one process as they show, from the system's window
// events: catches a box that is gone again before any search could see it.
class ShownWindows {
  public:
    explicit ShownWindows(std::vector<std::string>& seen) {
        active_ = &seen;
        hook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, &OnShow, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    ~ShownWindows() {
        if (hook_) UnhookWinEvent(hook_);
        active_ = nullptr;
    }
    void Watch(DWORD processId) { processId_ = processId; }

  private:
    static void CALLBACK OnShow(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD,
                                DWORD) {
        if (!active_ || object != OBJID_WINDOW || child != CHILDID_SELF || !hwnd) return;
        if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == processId_) Note(*active_, hwnd);
    }
    static inline std::vector<std::string>* active_ = nullptr;
    static inline DWORD processId_ = 0;
    HWINEVENTHOOK hook_ = nullptr;
};

// A console of this process for one run, its window hidden. Two screen
// buffers of it stand in for the program's output and error; what the
// program wrote there is read back from the cells.
class HiddenConsole {
  public:
    HiddenConsole() {
        for (int i = 0; i < 3; ++i) saved_[i] = GetStdHandle(kKinds[i]);
        FreeConsole();  // a console of no use (no window, no buffers) blocks a new one
        ok_ = AllocConsole();
        if (HWND window = GetConsoleWindow()) ShowWindow(window, SW_HIDE);
        // This program's own output stays where it went. The console's
        // handles are kept: freeing the console closes what stands in their
        // place.
        for (int i = 0; i < 3; ++i) {
            own_[i] = GetStdHandle(kKinds[i]);
            SetStdHandle(kKinds[i], saved_[i]);
        }
    }
    ~HiddenConsole() {
        for (HANDLE buffer : buffers_) CloseHandle(buffer);
        for (int i = 0; i < 3; ++i) SetStdHandle(kKinds[i], own_[i]);
        FreeConsole();
        for (int i = 0; i < 3; ++i) SetStdHandle(kKinds[i], saved_[i]);
    }
    // An inheritable buffer; null when there is no console.
    HANDLE NewBuffer() {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        const HANDLE buffer =
            ok_ ? CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                            CONSOLE_TEXTMODE_BUFFER, nullptr)
                : INVALID_HANDLE_VALUE;
        if (buffer == INVALID_HANDLE_VALUE) return nullptr;
        // Wide enough that no line of the program wraps.
        SetConsoleScreenBufferSize(buffer, {500, 200});
        buffers_.push_back(buffer);
        return buffer;
    }
    // The lines up to the cursor, blanks at their ends dropped, as UTF-8
    // with "\r\n" after each.
    static std::string Text(HANDLE buffer) {
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        if (!GetConsoleScreenBufferInfo(buffer, &info)) return {};
        std::string text;
        for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
            const SHORT width =
                y < info.dwCursorPosition.Y ? info.dwSize.X : info.dwCursorPosition.X;
            std::wstring line(static_cast<std::size_t>(width), L' ');
            DWORD n = 0;
            ReadConsoleOutputCharacterW(buffer, line.data(), width, {0, y}, &n);
            line.resize(line.find_last_not_of(L' ') + 1);
            text += Utf8(line) + (y < info.dwCursorPosition.Y ? "\r\n" : "");
        }
        return text;
    }

  private:
    static constexpr DWORD kKinds[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE saved_[3] = {}, own_[3] = {};
    bool ok_ = false;
    std::vector<HANDLE> buffers_;
};

}  // namespace

ConsoleRun RunConsole(const std::string& exe, const std::string& arguments, StdHandles handles,
                      DWORD milliseconds) {
    ConsoleRun run;
    PipeReader out, err;
    HANDLE outEnd = nullptr, errEnd = nullptr, inEnd = nullptr;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // all null for a detached run
    DWORD flags = DETACHED_PROCESS;
    std::unique_ptr<HiddenConsole> console;
    if (handles == StdHandles::Console) {
        console = std::make_unique<HiddenConsole>();
        startup.hStdOutput = console->NewBuffer();
        startup.hStdError = console->NewBuffer();
        if (!startup.hStdOutput || !startup.hStdError) return run;
        flags = 0;  // on this console
    } else if (handles == StdHandles::Pipes) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        inEnd = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                            OPEN_EXISTING, 0, nullptr);
        if (!out.Open(outEnd) || !err.Open(errEnd) || inEnd == INVALID_HANDLE_VALUE) return run;
        startup.hStdInput = inEnd;
        startup.hStdOutput = outEnd;
        startup.hStdError = errEnd;
        flags = CREATE_NO_WINDOW;
    }
    std::vector<std::string> seen;
    ShownWindows shown(seen);
    std::wstring commandLine = L"\"" + Wide(exe) + L"\" " + Wide(arguments);
    PROCESS_INFORMATION info = {};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, handles != StdHandles::None,
                       flags | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup, &info);
    // Only the child holds the write ends now: the readers end with it.
    for (HANDLE h : {outEnd, errEnd, inEnd})
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (!started) return run;
    shown.Watch(info.dwProcessId);
    if (handles == StdHandles::Pipes) {
        out.Start();
        err.Start();
    }
    const auto look = [&] {
        for (HWND hwnd : VisibleWindowsOf(info.dwProcessId, "", "")) Note(seen, hwnd);
    };
    run.ended = WaitUntil(
        [&] {
            look();
            return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
        },
        milliseconds, 10);
    if (!run.ended) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, kStateTimeout);
    }
    GetExitCodeProcess(info.hProcess, &run.code);
    // Window events of its last moments still waiting in the queue.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (!out.Finish(run.out) || !err.Finish(run.err)) run.ended = false;
    if (console) {
        run.out = HiddenConsole::Text(startup.hStdOutput);
        run.err = HiddenConsole::Text(startup.hStdError);
    }
    run.windows = seen;
    return run;
}

std::ostream& operator<<(std::ostream& os, const ConsoleRun& run) {
    os << "exit " << run.code << (run.ended ? "" : " (did not end)") << "\nout: " << run.out
       << "\nerr: " << run.err;
    for (const std::string& window : run.windows) os << "\nwindow " << window;
    return os;
}

}  // namespace kelvra::e2e
