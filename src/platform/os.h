// The operating-system boundary. One method per Windows operation the program
// uses; each keeps the argument and result semantics of the call it stands
// for (8-bit strings in the system code page, counts, status and error codes),
// so the rules built on top read like the program they are.
//
// Win32Os calls the real functions; SimulatedWindows (tests/sim) keeps a whole
// machine in memory. The contract suite runs the same tests on both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra {

// Windows error codes that cross the boundary.
namespace oserr {
constexpr int32_t kSuccess = 0;
constexpr int32_t kFileNotFound = 2;
constexpr int32_t kPathNotFound = 3;
constexpr int32_t kAccessDenied = 5;
constexpr int32_t kInvalidHandle = 6;
constexpr int32_t kNotEnoughMemory = 8;
constexpr int32_t kSharingViolation = 32;
constexpr int32_t kLockViolation = 33;
constexpr int32_t kBadNetName = 67;
constexpr int32_t kAlreadyAssigned = 85;
constexpr int32_t kInvalidParameter = 87;
constexpr int32_t kDiskFull = 112;
constexpr int32_t kMoreData = 234;
constexpr int32_t kNoMoreItems = 259;
constexpr int32_t kBadDevice = 1200;
constexpr int32_t kConnectionUnavailable = 1201;
constexpr int32_t kDeviceAlreadyRemembered = 1202;
constexpr int32_t kNoNetwork = 1222;
constexpr int32_t kNotConnected = 2250;
}  // namespace oserr

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr uint32_t kFileAttributeReadOnly = 0x01;
constexpr uint32_t kFileAttributeVolumeLabel = 0x08;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;

// GetDriveType results.
constexpr uint32_t kDriveUnknown = 0;
constexpr uint32_t kDriveNoRootDir = 1;
constexpr uint32_t kDriveRemovable = 2;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kDriveRemote = 4;
constexpr uint32_t kDriveCdrom = 5;
constexpr uint32_t kDriveRamdisk = 6;

// DefineDosDevice flags.
constexpr uint32_t kDddRawTargetPath = 0x1;
constexpr uint32_t kDddRemoveDefinition = 0x2;
constexpr uint32_t kDddExactMatchOnRemove = 0x4;

// SetErrorMode: fail critical errors (no disk in the drive) quietly
// instead of asking the user in a system box.
constexpr uint32_t kSemFailCriticalErrors = 0x0001;

// Registry: predefined roots, value types, access rights, dispositions.
using RegKey = std::uintptr_t;
constexpr RegKey kHkeyClassesRoot = 0x80000000u;
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr uint32_t kKeyNotify = 0x0010;
constexpr uint32_t kKeyCreateLink = 0x0020;
constexpr uint32_t kRegCreatedNewKey = 1;
constexpr uint32_t kRegOpenedExistingKey = 2;

// Network connections.
constexpr uint32_t kResourceTypeDisk = 1;
constexpr uint32_t kConnectUpdateProfile = 0x1;

// SHChangeNotify events of a drive's root.
constexpr int32_t kShcneDriveRemoved = 0x00000080;
constexpr int32_t kShcneDriveAdd = 0x00000100;
constexpr int32_t kShcneUpdateItem = 0x00002000;

// GetTokenInformation(TokenElevationType) answers.
constexpr uint32_t kElevationDefault = 1;  // no split token: UAC off, or no admin
constexpr uint32_t kElevationFull = 2;     // an administrator's elevated token
constexpr uint32_t kElevationLimited = 3;  // an administrator's filtered token

// How a start through another program went.
enum class LaunchResult { Started, NoShell, Failed, Declined };

// GetVersionEx platform ids.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows = 1;  // 95, 98, ME
constexpr uint32_t kPlatformNt = 2;

struct OsVersion {
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;
    std::string csdVersion;
    // Filled only by the extended query; 0 after the basic one.
    uint16_t servicePackMajor = 0;
    uint16_t servicePackMinor = 0;
    uint16_t suiteMask = 0;
    uint8_t productType = 0;
    uint8_t reserved = 0;
};

// Sizes of the basic and the extended version structures (8-bit form).
constexpr uint32_t kOsVersionInfoSize = 148;
constexpr uint32_t kOsVersionInfoExSize = 156;

// Extended version fields.
constexpr uint16_t kSuiteSmallBusiness = 0x0001;
constexpr uint16_t kSuiteEnterprise = 0x0002;
constexpr uint16_t kSuiteEmbeddedNt = 0x0040;
constexpr uint16_t kSuiteDatacenter = 0x0080;
constexpr uint16_t kSuitePersonal = 0x0200;
constexpr uint16_t kSuiteBlade = 0x0400;
constexpr uint16_t kSuiteHomeServer = 0x8000;
constexpr uint8_t kNtWorkstation = 1;
constexpr uint8_t kNtDomainController = 2;
constexpr uint8_t kNtServer = 3;

// GetNativeSystemInfo processor architectures.
constexpr uint16_t kProcessorArchitectureIntel = 0;
constexpr uint16_t kProcessorArchitectureIa64 = 6;
constexpr uint16_t kProcessorArchitectureAmd64 = 9;

// GetSystemMetrics indices of the Windows editions.
constexpr int kSmTabletPc = 86;
constexpr int kSmMediaCenter = 87;
constexpr int kSmStarter = 88;
constexpr int kSmServerR2 = 89;

// The four fields of a version resource's fixed file version.
struct FileVersion {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
};

struct TopWindow {
    std::uintptr_t handle = 0;
    std::string title;
    uint32_t processId = 0;
};

struct NetResource {
    uint32_t type = kResourceTypeDisk;
    std::string localName;
    std::string remoteName;
};

class Os {
  public:
    virtual ~Os() = default;

    // --- process and system -------------------------------------------------
    virtual bool GetVersionEx(OsVersion& out) = 0;
    // GetVersionEx with the extended structure: every field of OsVersion.
    // False where the system knows only the basic form (95, 98, ME).
    virtual bool GetVersionExtended(OsVersion& out) = 0;
    // GetProductInfo; false where the system lacks it (before Windows 6),
    // `product` then left unchanged.
    virtual bool GetProductInfo(uint32_t osMajor, uint32_t osMinor, uint32_t spMajor,
                                uint32_t spMinor, uint32_t& product) = 0;
    // wProcessorArchitecture of GetNativeSystemInfo (GetSystemInfo where
    // the system lacks it).
    virtual uint16_t NativeProcessorArchitecture() = 0;
    virtual int GetSystemMetrics(int index) = 0;
    // GetSystemDirectoryA as the system answers it; empty on failure.
    virtual std::string SystemDirectory() = 0;
    // Full path of the running executable (GetModuleFileNameA).
    virtual std::string ModuleFileName() = 0;
    // The argument string after the program name, as the process got it.
    virtual std::string CommandLineArguments() = 0;
    // Fixed file version of a file's version resource; false when it has none.
    virtual bool GetFileVersion(const std::string& path, FileVersion& out) = 0;
    // A text entry of a file's version resource ("LegalCopyright", ...; the
    // name in any letter case) from the string table its translation list
    // names first that holds it, wide because it is shown as it is stored.
    // False, `out` empty, when the file has no version resource or no such entry.
    virtual bool GetFileVersionString(const std::string& path, const std::string& name,
                                      std::wstring& out) = 0;
    // GetUserNameA into a buffer of `size` characters; false when the call fails.
    virtual bool GetUserName(std::string& out, uint32_t size) = 0;

    // --- INI files (private-profile calls) -----------------------------------
    // Copies at most size - 1 characters of the value (or of `def` when the
    // key is missing) to `out` and returns the number copied.
    virtual uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                             const std::string& def, std::string& out,
                                             uint32_t size, const std::string& file) = 0;
    // A null value deletes the key. False when the write failed.
    virtual bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string* value, const std::string& file) = 0;

    // --- registry -------------------------------------------------------------
    virtual int32_t RegOpenKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                                 RegKey& out) = 0;
    virtual int32_t RegCreateKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                                   RegKey& out, uint32_t& disposition) = 0;
    // `data` holds the raw bytes to store.
    virtual int32_t RegSetValueEx(RegKey key, const std::string& name, uint32_t type,
                                  const std::string& data) = 0;
    // With a null `data`: reports type and size only. Otherwise reads at most
    // *size bytes; kMoreData (size set to what is needed) when they do not fit.
    virtual int32_t RegQueryValueEx(RegKey key, const std::string& name, uint32_t* type,
                                    std::string* data, uint32_t* size) = 0;
    // The name of an open key's subkey number `index` (from 0), as stored;
    // kNoMoreItems once the index is past the last one. The order is the
    // registry's own. `name` is left unchanged on failure.
    virtual int32_t RegEnumKeyEx(RegKey key, uint32_t index, std::string& name) = 0;
    virtual int32_t RegDeleteKey(RegKey root, const std::string& subkey) = 0;
    virtual int32_t RegDeleteValue(RegKey key, const std::string& name) = 0;
    virtual int32_t RegFlushKey(RegKey key) = 0;
    virtual int32_t RegCloseKey(RegKey key) = 0;

    // --- files and folders ----------------------------------------------------
    virtual uint32_t GetFileAttributes(const std::string& path) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;
    // Both return the length of the converted path (without NUL) when it fits
    // into `size` characters, the needed size when it does not (out left
    // empty), and 0 on failure.
    virtual uint32_t GetLongPathName(const std::string& path, std::string& out, uint32_t size) = 0;
    virtual uint32_t GetShortPathName(const std::string& path, std::string& out, uint32_t size) = 0;
    // GetFullPathNameA: the absolute form of a path, a relative one taken
    // from the current folder, with "/" as "\" and "." and ".." resolved;
    // the folder need not exist. False, `out` empty, on failure.
    virtual bool GetFullPathName(const std::string& path, std::string& out) = 0;
    // Reads a whole file's bytes, at most maxBytes of them. False when the
    // file cannot be opened (missing, a folder, locked).
    virtual bool ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) = 0;
    // ReadFile that tells why it failed: 0, or the system's error code.
    // kFileNotFound or kPathNotFound means there is no such file; any other
    // error (kSharingViolation for a file another program holds open without
    // sharing, kAccessDenied) means the file is there but cannot be read now.
    virtual int32_t ReadFileStatus(const std::string& path, std::string& bytes,
                                   std::size_t maxBytes) = 0;
    // Gives `path` the new contents in one step: writes them to a temporary
    // file beside it, through to the disk, and moves that over the old file
    // (MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
    // Readers see the old file or the new one, never a part; a reader that
    // blocks the move is waited for briefly (half a second). Returns 0 or
    // the error code; on failure the old file is left as it was and no
    // temporary file is left behind. A read-only file is refused with
    // kAccessDenied, as by the private-profile calls.
    virtual int32_t ReplaceFileContents(const std::string& path, const std::string& bytes) = 0;
    // Names (without their folder) of the files matching a pattern such as
    // "C:\x\*.lng", in the order the system lists them (FindFirstFileA,
    // FindNextFileA). Folders are left out. Empty when nothing matches or the
    // folder is missing. Windows also matches the short names, so "*.lng"
    // may list "a.lngx": callers check the names they get.
    virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;

    // --- drives and the DOS-device table -------------------------------------
    // Writes the NUL-separated list of roots ("C:\<NUL>D:\<NUL><NUL>") to
    // `out` and returns its length without the final NUL; when it does not
    // fit into `size` characters, returns the size needed; 0 on failure.
    virtual uint32_t GetLogicalDriveStrings(uint32_t size, std::string& out) = 0;
    virtual uint32_t GetDriveType(const std::string& root) = 0;
    virtual bool GetVolumeInformation(const std::string& root, std::string& label,
                                      std::string& fileSystem) = 0;
    // The process's error mode (kSemFailCriticalErrors, ...); returns the
    // previous mode.
    virtual uint32_t SetErrorMode(uint32_t mode) = 0;
    // The calling thread's own error mode (SetThreadErrorMode, Windows 7 on),
    // beside the process's: a drive query raises no "no disk" box when
    // either says kSemFailCriticalErrors. `previous` gets the thread's mode
    // before the call; false (nothing changed) for a mode the call refuses.
    virtual bool SetThreadErrorMode(uint32_t mode, uint32_t& previous) = 0;
    // A null target with kDddRemoveDefinition removes the latest definition.
    virtual bool DefineDosDevice(uint32_t flags, const std::string& device,
                                 const std::string* target) = 0;
    // Raw answer: targets separated by NULs, ending in two NULs; the count
    // of characters stored is returned (0 on failure, also when it does not fit).
    virtual uint32_t QueryDosDevice(const std::string& device, std::string& out, uint32_t size) = 0;

    // --- network connections -------------------------------------------------
    virtual uint32_t WNetAddConnection2(const NetResource& resource, const std::string* password,
                                        const std::string* user, uint32_t flags) = 0;
    // Cancels the letter's connection and removes it from the user's profile
    // (WNetCancelConnection2 with CONNECT_UPDATE_PROFILE): a connection left
    // remembered would come back at the next logon. A letter that is only
    // remembered (not connected now) is forgotten as well.
    virtual uint32_t WNetCancelConnection(const std::string& name, bool force) = 0;
    // Cancels the letter's connection in this logon session only
    // (WNetCancelConnection2 without CONNECT_UPDATE_PROFILE): a connection
    // remembered in the profile, which an elevated and a normal session of
    // the same user share, stays remembered.
    virtual uint32_t WNetCancelConnectionHere(const std::string& name, bool force) = 0;
    // On kMoreData `size` holds the size needed.
    virtual uint32_t WNetGetConnection(const std::string& localName, std::string& remoteName,
                                       uint32_t& size) = 0;

    // --- windows and processes -------------------------------------------------
    // All top-level windows in Z-order, first is topmost.
    virtual std::vector<TopWindow> TopLevelWindows() = 0;
    // File name of a process's executable; empty when no such process.
    virtual std::string ProcessExeName(uint32_t processId) = 0;
    // SetForegroundWindow, then ShowWindow with SW_SHOWNORMAL.
    virtual void ActivateWindow(std::uintptr_t handle) = 0;

    // --- shell links -------------------------------------------------------------
    // Writes the shortcut file `linkFile` (replacing one of the same name) that
    // points at `target`; empty arguments, description or working folder stay
    // unset. The description is display text, hence wide. False when the file
    // cannot be written: a missing or read-only folder, a name too long.
    virtual bool CreateShellLink(const std::string& linkFile, const std::string& target,
                                 const std::string& arguments, const std::wstring& description,
                                 const std::string& workingFolder) = 0;

    // --- the shell ---------------------------------------------------------------
    // SHChangeNotify for a path ("K:\\"), handed on without waiting for the
    // shell: open Explorer windows and file dialogs show the change at once
    // instead of at their next refresh. Nothing to report: a shell that is
    // not running has nothing to update.
    virtual void ShellChangeNotify(int32_t event, const std::string& path) = 0;

    // --- elevation and the logon task -------------------------------------------
    // The process token's elevation type (kElevation...); kElevationDefault
    // where the system lacks it (before Windows 6).
    virtual uint32_t TokenElevationType() = 0;
    // True when the token's linked token (the other half of an administrator's
    // split token) belongs to another logon session. Drive letters are kept
    // per logon session: only then does this process see other letters than
    // the desktop's programs do. False without a linked token.
    virtual bool LinkedTokenInOtherSession() = 0;
    // Starts a program with the desktop shell's own token through its
    // ShellExecute (IShellWindows desktop view, IShellDispatch2), so an
    // elevated process can start one unelevated in the user's normal session.
    // Does not wait. NoShell when there is no desktop shell to ask.
    virtual LaunchResult ShellExecuteAsDesktop(const std::string& file,
                                               const std::string& parameters) = 0;
    // Runs a program elevated (ShellExecuteEx, verb "runas": the system's
    // prompt where it asks) and waits for it; `exitCode` then holds its exit
    // code. Declined when the user refused the prompt.
    virtual LaunchResult RunElevatedAndWait(const std::string& file, const std::string& parameters,
                                            uint32_t& exitCode) = 0;
    // Task scheduler: a task `name` in the root folder that runs `program`
    // with `arguments` at the current user's logon, with the highest rights
    // the user has, replacing one of the same name. Returns 0 or the error
    // (kAccessDenied when the rights do not allow it).
    virtual int32_t CreateLogonTask(const std::string& name, const std::string& program,
                                    const std::string& arguments) = 0;
    // Removes the task; 0 also when there was none.
    virtual int32_t DeleteLogonTask(const std::string& name) = 0;
    virtual bool LogonTaskExists(const std::string& name) = 0;
    // The folders for programs that only administrators can change (the
    // 64-bit and the 32-bit "Program Files"), each with a trailing
    // backslash, without repeats; empty when the system names none.
    virtual std::vector<std::string> ProgramFilesFolders() = 0;

    // --- system code page ------------------------------------------------------
    virtual std::wstring AnsiToWide(const std::string& text) = 0;
    virtual std::string WideToAnsi(const std::wstring& text) = 0;
    // WideToAnsi without best-fit characters (a best fit would turn "Ł" into
    // "L" and so name a different file). True when every character has a code
    // of its own; otherwise `out` holds the default character in their places.
    virtual bool WideToAnsiExact(const std::wstring& text, std::string& out) = 0;
    // CharUpperBuffA over the whole text, in place: upper case as the system
    // code page has it. Returns the number of characters processed.
    virtual uint32_t CharUpperBuff(std::string& text) = 0;
};

}  // namespace kelvra
