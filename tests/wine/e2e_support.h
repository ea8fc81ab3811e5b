// Support for the end-to-end tests that drive the real Kelvra.exe and
// kelvrashell.exe under Wine: scratch program folders, process starts,
// window searches and settings-file reads, all through the Windows API.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace kelvra::e2e {

// Folder of the running test program, ending in "\": the built .exe files lie there.
std::string BuildFolder();
// A fresh, empty folder under the temp folder, ending in "\".
std::string MakeScratchFolder(const std::string& tag);
void RemoveTree(const std::string& folder);
bool CopyInto(const std::string& file, const std::string& folder, const std::string& newName = "");
bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileThere(const std::string& path);
// A file or folder of the source tree (relative, with "/"), as Wine shows it.
std::string SourcePath(const std::string& relative);

std::string UserName();
// The settings section of the user running the tests.
std::string UserSection();
std::string IniRead(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def = "<missing>");

// A started process; the handle is closed with the object.
class Process {
  public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();
    bool Start(const std::string& exe, const std::string& arguments);
    // True when the process ended within the time; exit code in `code`.
    bool Wait(DWORD milliseconds, DWORD* code = nullptr);
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    bool Running() const;
    void Kill();

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Top-level windows of a process whose title contains `fragment`.
std::vector<HWND> WindowsOf(DWORD processId, const std::string& fragment);
// All top-level windows whose title contains `fragment`.
std::vector<HWND> WindowsTitled(const std::string& fragment);
// Polls until the process shows such a window; null on timeout.
HWND WaitForWindow(DWORD processId, const std::string& fragment, DWORD milliseconds);
std::string WindowTitle(HWND hwnd);

// Points the user's "AppData" shell folder at another folder for the life of
// the object, so that per-user settings files land in a test folder.
class AppDataRedirect {
  public:
    explicit AppDataRedirect(const std::string& folder);
    ~AppDataRedirect();

  private:
    std::string old_;
    bool had_ = false;
};

// Reads and restores one registry string value around a test.
class RegistryValueGuard {
  public:
    RegistryValueGuard(HKEY root, const std::string& subkey, const std::string& name);
    ~RegistryValueGuard();

  private:
    HKEY root_;
    std::string subkey_, name_, old_;
    bool had_ = false;
};

bool GetRegString(HKEY root, const std::string& subkey, const std::string& name,
                  std::string& value);
void SetRegString(HKEY root, const std::string& subkey, const std::string& name,
                  const std::string& value);
void DeleteRegValue(HKEY root, const std::string& subkey, const std::string& name);

// A letter that holds nothing now, from the end of the alphabet.
char FreeLetter(char below = 'Z');

// ---------------------------------------------------------------------------
// Driving windows of another process. Every wait is for a state, polled
// until a generous time is up; Wine on a loaded machine can be slow.

constexpr DWORD kStateTimeout = 15000;

std::string Utf8(const std::wstring& text);
std::string ClassOf(HWND hwnd);

// Polls `done` every `step` ms until it holds or `milliseconds` passed; this
// thread's messages (win-event callbacks) run in between. Looks once more
// when the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds = kStateTimeout,
               DWORD step = 50);

// Visible top-level windows of a process whose class is `cls` (empty: any)
// and whose title contains `fragment`.
std::vector<HWND> VisibleWindowsOf(DWORD processId, const std::string& cls,
                                   const std::string& fragment);
HWND WaitForVisibleWindow(DWORD processId, const std::string& cls, const std::string& fragment,
                          DWORD milliseconds = kStateTimeout);
// A child (any depth) of `parent` with the class.
HWND ChildOfClass(HWND parent, const std::string& cls);
// The whole text of a window or control of another process, however long.
std::string LongWindowText(HWND hwnd);

// Memory inside another process, for messages whose argument points at a
// structure: the target reads and writes it in its own address space.
class RemoteMemory {
  public:
    RemoteMemory(HWND owner, std::size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    bool ok() const { return base_ != nullptr; }
    // The address in the target, `offset` bytes into the block.
    LPARAM At(std::size_t offset = 0) const;
    bool Write(std::size_t offset, const void* data, std::size_t size);
    bool Read(std::size_t offset, void* data, std::size_t size) const;

  private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    std::size_t size_ = 0;
};

// List view and status bar of another process (texts as UTF-8).
int ListRowCount(HWND list);
std::string ListText(HWND list, int row, int column);
std::string ListColumnCaption(HWND list, int column);
// order[p] is the column shown at position p.
std::vector<int> ListColumnOrder(HWND list, int columns);
bool SetListColumnOrder(HWND list, const std::vector<int>& order);
std::string StatusText(HWND status, int panel);

// Gives `control` of the top-level window `top` of another process the
// keyboard focus and makes `top` the foreground window.
bool FocusControl(HWND top, HWND control);
// Presses and releases `key` with the modifiers held, as the keyboard would.
bool PressKey(WORD key, std::initializer_list<WORD> modifiers = {});

// True when the notification area holds the icon `id` of `owner`.
bool TrayIconPresent(HWND owner, UINT id = 0);

// Top-level windows created by other processes while the object lives,
// recorded from the system's window events as they arrive (so while this
// thread waits in WaitUntil). Catches windows too short-lived to be found
// by searching. One object at a time.
class WindowCreationLog {
  public:
    WindowCreationLog();
    ~WindowCreationLog();
    WindowCreationLog(const WindowCreationLog&) = delete;
    WindowCreationLog& operator=(const WindowCreationLog&) = delete;
    struct Entry {
        DWORD processId;
        std::string cls, title;
    };
    bool ok() const { return hook_ != nullptr; }
    // Lets pending events arrive, then answers.
    bool Seen(DWORD processId, const std::string& cls);
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<Entry> entries_;
};

// A subst letter defined for the life of the object.
class SubstDrive {
  public:
    SubstDrive(char letter, const std::string& folder);
    ~SubstDrive();
    SubstDrive(const SubstDrive&) = delete;
    SubstDrive& operator=(const SubstDrive&) = delete;
    bool ok() const { return defined_; }
    void Remove();

  private:
    std::string device_;
    bool defined_ = false;
};

// ---------------------------------------------------------------------------
// Drive commands driven from outside: DOS devices, dialogs of the program
// (folder chooser, message and input boxes), list rows under the mouse,
// shortcut files and screenshots.

// What the letter is mapped to, as the system answers (\??\C:\...); empty
// when nothing is.
std::wstring DosDeviceTarget(char letter);
// Removes every definition of the letter, however many were stacked.
void RemoveDosDevice(char letter);

// The title as UTF-8, whatever the code page.
std::string TitleUtf8(HWND hwnd);
// A visible dialog (#32770) of the process whose UTF-8 title contains
// `fragment`; null when none shows within the time.
HWND WaitForDialog(DWORD processId, const std::string& fragment,
                   DWORD milliseconds = kStateTimeout);
// A box of the process once it can be read: a visible dialog (#32770) whose
// UTF-8 title contains `titleFragment` and whose control `textId` (a message
// box's text by default) shows a text. A box exists, and may show, a moment
// before its title and text are set; every test that reads a box waits here.
// Null when none is ready within the time.
constexpr int kMessageBoxTextId = 0xFFFF;
HWND WaitForBox(DWORD processId, const std::string& titleFragment,
                DWORD milliseconds = kStateTimeout, int textId = kMessageBoxTextId);
// The UTF-8 texts of all child windows of `parent`, one after the other,
// separated by new lines.
std::string ChildTexts(HWND parent);
// Presses the dialog's button `id` as a click would (posted: the dialog may
// open the next modal window before it returns).
void PressDialogButton(HWND dialog, int id);
// Sets the text of a control of another process (WM_SETTEXT crosses).
bool SetControlText(HWND control, const std::wstring& text);

// Selects `path` in the folder chooser of another process, runs `beforeOk`
// (if any) and confirms with OK; true once the chooser has closed. A path
// the chooser cannot show leaves its selection as it was.
bool ChooseFolder(HWND chooser, const std::wstring& path,
                  const std::function<void()>& beforeOk = nullptr);

// Selects and focuses a row of a list view of another process.
bool SelectListRow(HWND list, int row);
// A row's bounds in screen coordinates; empty when the list has no such row.
RECT ListRowOnScreen(HWND list, int row);
// Drags with the left mouse button from one screen point to another in
// small steps, as a hand would.
bool MouseDrag(POINT from, POINT to);
// The same, with the button still held at the end; MouseRelease lets go.
bool MouseDragHeld(POINT from, POINT to);
bool MouseRelease(POINT at);
// Tells a window of another process, as the system does, that it is now on
// a monitor of `dpi`, with the rectangle the system suggests for it.
bool SendDpiChanged(HWND window, int dpi, const RECT& suggested);
// The colour of a screen pixel as 0xRRGGBB; -1 when it cannot be read.
long ScreenPixel(POINT at);

// What a shortcut file holds, read through IShellLinkW.
struct ShellLinkInfo {
    bool read = false;
    std::wstring target, description, arguments, workingFolder;
};
ShellLinkInfo ReadShellLink(const std::wstring& file);
std::wstring Wide(const std::string& utf8);

// Saves a screenshot of the whole X display to `unixPath` (a .png) with
// ImageMagick's import; false when there is none or it failed.
bool SaveScreenshot(const std::string& unixPath);

// ---------------------------------------------------------------------------
// Drive letters, popup menus and the mouse, for the tests of the
// context commands, the tray icon, the list popup and the help.

// The letters whose DOS device is defined, "C", "R", "Z", ...
std::string DefinedLetters();
// The highest (or lowest) letter that has no DOS device; 0 when none.
char HighestUndefinedLetter(char below = 'Z');
char LowestUndefinedLetter(char above = 'A');

// Letters defined while the object lives, and their removal at its end, so
// that a failing test leaves no drive behind for the next.
class DosDeviceGuard {
  public:
    DosDeviceGuard();
    ~DosDeviceGuard();
    DosDeviceGuard(const DosDeviceGuard&) = delete;
    DosDeviceGuard& operator=(const DosDeviceGuard&) = delete;
    // Letters defined since construction.
    std::string Added() const;

  private:
    std::string before_;
};

// A subst letter whose folder can be reached through it. Wine gives no file
// access through a letter made with DefineDosDevice alone; its mount manager
// makes a real drive (a dosdevices link) on the same folder first, whose
// device entry the subst definition then replaces.
class ReachableSubstDrive {
  public:
    ReachableSubstDrive(char letter, const std::string& folder);
    ~ReachableSubstDrive();
    ReachableSubstDrive(const ReachableSubstDrive&) = delete;
    ReachableSubstDrive& operator=(const ReachableSubstDrive&) = delete;
    bool ok() const { return ok_; }

  private:
    char letter_;
    bool mounted_ = false, ok_ = false, hadType_ = false;
};

// The visible popup menu (#32768) of a process, or null.
HWND PopupMenuOf(DWORD processId);
HWND WaitForPopupMenu(DWORD processId, DWORD milliseconds = kStateTimeout);
bool WaitForNoPopupMenu(DWORD processId, DWORD milliseconds = kStateTimeout);
// The items of a popup menu as drawn on the screen, top to bottom: true for
// an enabled item (dark text), false for a greyed one; separators are left
// out. Menus of another process cannot be read through their handle under
// Wine, so this reads the pixels. Empty until the menu has been painted.
std::vector<bool> PopupItemsEnabled(HWND menu);
// The text of a message box, line ends as "\n".
std::string MessageBoxText(HWND box);

// Presses the keys one after the other.
bool PressKeys(const std::vector<WORD>& keys);
// A real click of the mouse at a screen position.
bool ClickAt(POINT screen, bool right = false);

}  // namespace kelvra::e2e
