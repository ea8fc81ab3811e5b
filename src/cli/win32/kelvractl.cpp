// kelvractl.exe: the drive commands from a console or a script. Runs one
// command through the core and returns its exit code; everything it says
// goes to the standard handles, never into a window.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"

namespace {

// Lines to the standard handles: wide text to a console, so that every
// character shows whatever the console's code page; UTF-8 bytes without a
// mark to a file or pipe, which is what scripts and other programs read.
// A process started without a console or handles has nowhere to write: the
// text is dropped and the exit code still tells the caller the outcome.
class StandardHandles : public kelvra::cli::Output {
  public:
    void Out(const std::wstring& line) override { Write(STD_OUTPUT_HANDLE, line); }
    void Err(const std::wstring& line) override { Write(STD_ERROR_HANDLE, line); }

  private:
    static void Write(DWORD which, const std::wstring& line) {
        const HANDLE handle = GetStdHandle(which);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
        const std::wstring text = line + L"\r\n";
        DWORD mode = 0;
        if (GetConsoleMode(handle, &mode))
            ToConsole(handle, text);
        else
            ToFile(handle, Utf8(text));
    }

    static void ToConsole(HANDLE console, const std::wstring& text) {
        // Older consoles refuse one large write; pieces that never split a
        // surrogate pair go through everywhere.
        constexpr std::size_t kPiece = 8192;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t n = std::min(kPiece, text.size() - at);
            if (at + n < text.size() && IS_HIGH_SURROGATE(text[at + n - 1])) --n;
            DWORD written = 0;
            if (!WriteConsoleW(console, text.data() + at, static_cast<DWORD>(n), &written,
                               nullptr) ||
                written == 0)
                return;
            at += written;
        }
    }

    static void ToFile(HANDLE file, const std::string& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            DWORD written = 0;
            // A closed pipe ends the writing, not the command.
            if (!WriteFile(file, bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &written,
                           nullptr) ||
                written == 0)
                return;
            at += written;
        }
    }

    static std::string Utf8(const std::wstring& text) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
        if (n <= 0) return {};
        std::string out(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                            nullptr, nullptr);
        return out;
    }
};

}  // namespace

int main() {
    // No system box may ever wait for a click: not for an empty card reader,
    // a file that cannot be opened, nor a crash. A script would hang on it.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);

    // Kept to the very end of the process, as in Kelvra.exe: nothing that
    // might still ask a stalled drive while the process ends outlives it.
    kelvra::Win32Os& os = *new kelvra::Win32Os;
    std::vector<std::wstring> args = kelvra::cli::SplitCommandLine(GetCommandLineW());
    if (!args.empty()) args.erase(args.begin());
    StandardHandles output;
    return kelvra::cli::RunCli(os, args, output);
}
