// A whole Windows machine in memory, behind the Os boundary: drives with
// types, labels and file systems; folders and files with long and 8.3 names;
// a DOS-device table with stacked definitions; network shares and
// connections; a registry; INI files with private-profile semantics; the
// version record; top-level windows. Failures can be injected per operation,
// and every call is counted.
//
// The calls a worker thread makes (the volume and long-path queries, the
// thread error mode) may run beside the test's own thread: they, the call
// counters and everything that changes drives, folders, DOS devices and
// connections hold one lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/os.h"

namespace kelvra::sim {

class SimulatedWindows : public Os {
  public:
    SimulatedWindows();

    // --- building the machine ---------------------------------------------------
    void SetVersion(uint32_t major, uint32_t minor, uint32_t build, uint32_t platformId,
                    const std::string& csd = "");
    // The extended fields (kept until the next SetVersion clears them). The
    // extended query answers only on the NT platform, as on Windows.
    void SetVersionExtended(uint16_t servicePackMajor, uint16_t servicePackMinor,
                            uint16_t suiteMask, uint8_t productType, uint8_t reserved = 0);
    // What GetProductInfo answers; the call exists from major version 6 on.
    void SetProductInfo(uint32_t product) { productInfo_ = product; }
    void SetProcessorArchitecture(uint16_t architecture) { architecture_ = architecture; }
    void SetSystemMetric(int index, int value) { metrics_[index] = value; }
    // The folder is made; an empty path makes SystemDirectory fail.
    void SetSystemDirectory(const std::string& path);
    // A file with a version resource; the file is made when missing.
    void SetFileVersion(const std::string& path, FileVersion version);
    // A text entry of a file's version resource; a file without one gets
    // one (version 1.0.0.0), and the file is made when missing.
    void SetFileVersionString(const std::string& path, const std::string& name,
                              const std::wstring& text);
    // Windows 98: platform 1, version 4.10, plain DOS-device answers,
    // persistent connections under "Network\Persistent\".
    void PlayWindows98();
    void PlayWindowsMe();
    void PlayWindowsXp();
    bool PlaysWin9x() const { return version_.platformId == kPlatformWindows; }
    void SetExecutable(const std::string& path, FileVersion version = {2, 3, 0, 19});
    void SetCommandLine(const std::string& arguments) { commandLine_ = arguments; }
    void SetUserName(const std::string& name) { userName_ = name; }
    // The system code page as far as letter case goes: 1252 (the default)
    // or 1251 (Cyrillic). Text conversion stays Windows-1252 either way.
    void SetCodePage(uint32_t codePage) { codePage_ = codePage; }

    // A logical drive; its root folder is created. The device target is what
    // QueryDosDevice answers for it (a volume device by default).
    void AddDrive(char letter, uint32_t type, const std::string& label = "",
                  const std::string& fileSystem = "NTFS", const std::string& device = "");
    void RemoveDrive(char letter);
    // Folders and files; missing parent folders are made. A short name is
    // generated when none is given and the long name is not 8.3.
    void AddFolder(const std::string& path, const std::string& shortName = "");
    void AddFile(const std::string& path, const std::string& contents = "",
                 const std::string& shortName = "");
    void RemovePath(const std::string& path);  // with everything below it
    bool PathExists(const std::string& path);
    std::string FileContents(const std::string& path);
    // Writes and new entries below this folder fail, as on a read-only medium.
    void SetFolderReadOnly(const std::string& path, bool readOnly = true);
    // Another program holds the file open without sharing: opening it for
    // reading fails with kSharingViolation, and so does replacing it.
    void HoldFile(const std::string& path, bool held = true);
    // A share that can be connected; its root folder "\\server\share" is made.
    // The redirector names the device behind a connected letter.
    void AddShare(const std::string& remoteName,
                  const std::string& redirector = "\\Device\\LanmanRedirector");

    void AddTopWindow(std::uintptr_t handle, const std::string& title, uint32_t processId,
                      const std::string& exeName = "Kelvra.exe");
    const std::vector<std::uintptr_t>& ActivatedWindows() const { return activated_; }

    // Registry helpers for building and reading scenarios.
    void SetRegistryString(RegKey root, const std::string& subkey, const std::string& name,
                           const std::string& value);
    bool RegistryValue(RegKey root, const std::string& subkey, const std::string& name,
                       std::string& value);
    bool RegistryKeyExists(RegKey root, const std::string& subkey);
    // Opening the key for writing, changing it and making keys below it fail
    // with access denied.
    void DenyRegistryWrites(RegKey root, const std::string& subkey);
    // The same for the root and every key there is below it: HKLM as a user
    // without administrator rights meets it.
    void DenyRegistryWritesBelow(RegKey root);

    // DOS devices and connections as they stand.
    std::vector<std::string> DosDeviceTargets(char letter);
    // QueryDosDevice answers exactly these characters for the letter (no
    // terminator added; 0 when they do not fit), whatever else is defined.
    void PlantDosDeviceAnswer(char letter, const std::string& raw);
    bool IsConnected(char letter);
    // The server behind a connected letter went away: the letter stays a
    // network drive, but its connection answers as unavailable and nothing
    // is reached through it.
    void LoseConnection(char letter);

    // A shortcut file as CreateShellLink wrote it. False when no shortcut
    // was written to that file, or the file is gone.
    struct ShellLink {
        std::string target;
        std::string arguments;
        std::wstring description;
        std::string workingFolder;
    };
    bool ReadShellLink(const std::string& path, ShellLink& out);

    // Every ShellChangeNotify so far, oldest first.
    struct ShellNotice {
        int32_t event = 0;
        std::string path;
        bool operator==(const ShellNotice& o) const { return event == o.event && path == o.path; }
    };
    std::vector<ShellNotice> shellNotices;

    // Elevation: the token's type, and whether its linked token lies in
    // another logon session (a real split token on Windows).
    void SetElevation(uint32_t type, bool otherSession) {
        elevationType_ = type;
        otherSession_ = otherSession;
    }
    // Programs started through the desktop shell or elevated, in order.
    struct Launch {
        std::string file;
        std::string parameters;
        bool elevated = false;
        bool operator==(const Launch& o) const {
            return file == o.file && parameters == o.parameters && elevated == o.elevated;
        }
    };
    std::vector<Launch> launches;
    bool desktopShell = true;       // false: no desktop shell to ask
    bool declineElevation = false;  // the user says no to the system's prompt
    // What an elevated run does; its result is the exit code (0 without one).
    std::function<uint32_t(const Launch&)> elevatedRun;
    struct LogonTask {
        std::string program;
        std::string arguments;
    };
    std::map<std::string, LogonTask> logonTasks;  // by name
    std::vector<std::string> programFiles{"C:\\Program Files\\"};

    // Failure injection by operation name ("GetLogicalDriveStrings", ...).
    void Fail(const std::string& operation) { failing_.insert(operation); }
    void Heal(const std::string& operation) {
        failing_.erase(operation);
        throwing_.erase(operation);
        failTimes_.erase(operation);
    }
    // Only the next `times` calls of the operation fail.
    void FailTimes(const std::string& operation, int times) { failTimes_[operation] = times; }
    // The operation throws std::bad_alloc, as when memory runs out inside it.
    void Throw(const std::string& operation) { throwing_.insert(operation); }
    int Calls(const std::string& operation) const;
    int TotalCalls() const;
    // Volume and path queries on an empty removable or CD drive (also
    // through a subst letter onto it) made while critical errors were not
    // failed quietly: each would have stopped the program with a "no disk"
    // box on Windows.
    int NoDiskBoxes() const { return noDiskBoxes_; }
    uint32_t ErrorMode() const { return errorMode_; }
    void ResetCalls();

    // Volume queries on the drive (also through a subst letter onto it) wait
    // until released, as on a drive whose server is away.
    void BlockVolumeQueries(char letter);
    void ReleaseVolumeQueries(char letter);
    // Waits (at most 10 s) until `count` queries wait on blocked drives.
    bool AwaitBlockedQueries(int count);

    // --- Os -------------------------------------------------------------------
    bool GetVersionEx(OsVersion& out) override;
    bool GetVersionExtended(OsVersion& out) override;
    bool GetProductInfo(uint32_t osMajor, uint32_t osMinor, uint32_t spMajor, uint32_t spMinor,
                        uint32_t& product) override;
    uint16_t NativeProcessorArchitecture() override;
    int GetSystemMetrics(int index) override;
    std::string SystemDirectory() override;
    std::string ModuleFileName() override;
    std::string CommandLineArguments() override;
    bool GetFileVersion(const std::string& path, FileVersion& out) override;
    bool GetFileVersionString(const std::string& path, const std::string& name,
                              std::wstring& out) override;
    bool GetUserName(std::string& out, uint32_t size) override;
    uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                     const std::string& def, std::string& out, uint32_t size,
                                     const std::string& file) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string* value, const std::string& file) override;
    int32_t RegOpenKeyEx(RegKey root, const std::string& subkey, uint32_t access,
                         RegKey& out) override;
    int32_t RegCreateKeyEx(RegKey root, const std::string& subkey, uint32_t access, RegKey& out,
                           uint32_t& disposition) override;
    int32_t RegSetValueEx(RegKey key, const std::string& name, uint32_t type,
                          const std::string& data) override;
    int32_t RegQueryValueEx(RegKey key, const std::string& name, uint32_t* type, std::string* data,
                            uint32_t* size) override;
    // Subkeys in the order of their names in capitals.
    int32_t RegEnumKeyEx(RegKey key, uint32_t index, std::string& name) override;
    int32_t RegDeleteKey(RegKey root, const std::string& subkey) override;
    int32_t RegDeleteValue(RegKey key, const std::string& name) override;
    int32_t RegFlushKey(RegKey key) override;
    int32_t RegCloseKey(RegKey key) override;
    uint32_t GetFileAttributes(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    uint32_t GetLongPathName(const std::string& path, std::string& out, uint32_t size) override;
    uint32_t GetShortPathName(const std::string& path, std::string& out, uint32_t size) override;
    bool GetFullPathName(const std::string& path, std::string& out) override;
    // The folder relative paths start from ("C:\\" at first).
    void SetCurrentFolder(const std::string& folder) { currentFolder_ = folder; }
    bool ReadFile(const std::string& path, std::string& bytes, std::size_t maxBytes) override;
    int32_t ReadFileStatus(const std::string& path, std::string& bytes,
                           std::size_t maxBytes) override;
    int32_t ReplaceFileContents(const std::string& path, const std::string& bytes) override;
    // Matches "*" and "?" against the long and the short names, as Windows does.
    std::vector<std::string> FindFiles(const std::string& pattern) override;
    uint32_t GetLogicalDriveStrings(uint32_t size, std::string& out) override;
    uint32_t GetDriveType(const std::string& root) override;
    bool GetVolumeInformation(const std::string& root, std::string& label,
                              std::string& fileSystem) override;
    uint32_t SetErrorMode(uint32_t mode) override;
    bool SetThreadErrorMode(uint32_t mode, uint32_t& previous) override;
    bool DefineDosDevice(uint32_t flags, const std::string& device,
                         const std::string* target) override;
    uint32_t QueryDosDevice(const std::string& device, std::string& out, uint32_t size) override;
    uint32_t WNetAddConnection2(const NetResource& resource, const std::string* password,
                                const std::string* user, uint32_t flags) override;
    uint32_t WNetCancelConnection(const std::string& name, bool force) override;
    uint32_t WNetGetConnection(const std::string& localName, std::string& remoteName,
                               uint32_t& size) override;
    std::vector<TopWindow> TopLevelWindows() override;
    std::string ProcessExeName(uint32_t processId) override;
    void ActivateWindow(std::uintptr_t handle) override;
    bool CreateShellLink(const std::string& linkFile, const std::string& target,
                         const std::string& arguments, const std::wstring& description,
                         const std::string& workingFolder) override;
    void ShellChangeNotify(int32_t event, const std::string& path) override;
    uint32_t TokenElevationType() override;
    bool LinkedTokenInOtherSession() override;
    LaunchResult ShellExecuteAsDesktop(const std::string& file,
                                       const std::string& parameters) override;
    LaunchResult RunElevatedAndWait(const std::string& file, const std::string& parameters,
                                    uint32_t& exitCode) override;
    int32_t CreateLogonTask(const std::string& name, const std::string& program,
                            const std::string& arguments) override;
    int32_t DeleteLogonTask(const std::string& name) override;
    bool LogonTaskExists(const std::string& name) override;
    std::vector<std::string> ProgramFilesFolders() override;
    uint32_t WNetCancelConnectionHere(const std::string& name, bool force) override;
    std::wstring AnsiToWide(const std::string& text) override;
    std::string WideToAnsi(const std::wstring& text) override;
    // Plays code page 1252: exact unless a character is outside it.
    bool WideToAnsiExact(const std::wstring& text, std::string& out) override;
    uint32_t CharUpperBuff(std::string& text) override;

  private:
    struct Node {
        std::string name;       // long name of the last component
        std::string shortName;  // 8.3 name of the last component
        bool folder = false;
        bool readOnly = false;  // for folders: nothing may be written below
        std::string contents;
        bool held = false;  // open elsewhere without sharing
    };
    struct Drive {
        uint32_t type = kDriveFixed;
        std::string label;
        std::string fileSystem;
        std::string device;
    };
    struct Share {
        std::string remoteName;
        std::string redirector;
    };
    struct Connection {
        std::string remoteName;
        bool lost = false;
    };
    struct RegValue {
        std::string name;
        uint32_t type = kRegNone;
        std::string data;
    };
    struct RegNode {
        std::map<std::string, RegValue> values;  // by upper-cased name
        bool denyWrites = false;
        std::string name;  // as first written; empty for a root
    };
    struct OpenKey {
        std::string path;
        uint32_t access = 0;
    };
    struct Window {
        TopWindow window;
        std::string exeName;
    };

    using Guard = std::lock_guard<std::recursive_mutex>;
    bool Call(const char* operation);  // counts; true when the call must fail
    // Critical errors fail quietly for the calling thread: its own mode or
    // the process's says so.
    bool QuietErrors();
    // The drive letter a path's volume is asked of, through subst letters.
    char VolumeLetter(std::string path);
    void WaitWhileBlocked(const std::string& path);
    bool VolumeInformation(const std::string& root, std::string& label, std::string& fileSystem);
    // Canonical key ("C:\DATA\SUB", "\\SRV\SHARE\X") of an existing path,
    // following subst and network letters; empty when it does not exist.
    std::string Resolve(const std::string& path, int depth = 0);
    // Splits a path into its root ("C:" or "\\server\share") and components.
    static bool DriveIndexLetter(char c);
    static bool SplitPath(const std::string& path, std::string& root,
                          std::vector<std::string>& parts);
    std::string ChildKey(const std::string& parentKey, const std::string& component);
    std::string ConvertPath(const std::string& path, bool toShort);
    bool WritableFolder(const std::string& key);
    std::string MakeShortName(const std::string& parentKey, const std::string& longName);
    void PutNode(const std::string& path, bool folder, const std::string& contents,
                 const std::string& shortName);
    std::string LetterTarget(char letter);  // latest subst target path, "" if none
    bool HasVersionResource(const std::string& path);
    std::string RegPath(RegKey root, const std::string& subkey);
    RegNode* FindRegNode(const std::string& path);
    bool RegParentDenied(const std::string& path);
    // Makes the keys of a path that are missing, each named as written.
    void MakeRegKeys(RegKey root, const std::string& subkey);
    bool LetterInUse(char letter);
    // True for a path on a removable or CD drive without a medium, followed
    // through subst letters; counts the box the query would raise.
    bool OnEmptyDrive(const std::string& path, int depth = 0);
    std::string NetworkKey(char letter) const;
    char UpperInCodePage(char c) const;
    // Section names match regardless of case, as the code page has it.
    bool SameSection(const std::string& a, const std::string& b) const;

    uint32_t elevationType_ = kElevationDefault;
    bool otherSession_ = false;
    OsVersion version_;
    uint32_t productInfo_ = 0;
    uint16_t architecture_ = kProcessorArchitectureIntel;
    std::map<int, int> metrics_;
    std::string systemDirectory_;
    std::map<std::string, FileVersion> fileVersions_;  // by upper-cased path
    // Text entries by upper-cased path, then upper-cased name.
    std::map<std::string, std::map<std::string, std::wstring>> versionStrings_;
    std::string exePath_;
    std::string currentFolder_ = "C:\\";
    FileVersion fileVersion_;
    std::string commandLine_;
    std::string userName_ = "Tester";
    uint32_t codePage_ = 1252;
    std::map<std::string, Node> nodes_;  // by canonical upper-cased path
    std::map<char, Drive> drives_;
    std::map<char, std::vector<std::string>> dosDevices_;  // definitions, latest last
    std::map<char, std::string> plantedDosAnswers_;
    std::map<std::string, Share> shares_;  // by upper-cased remote name
    std::map<char, Connection> connections_;
    std::map<std::string, ShellLink> links_;   // by canonical file key
    std::map<std::string, RegNode> registry_;  // by upper-cased "HKCU\..." path
    std::map<RegKey, OpenKey> openKeys_;
    RegKey nextKey_ = 0x1000;
    std::vector<Window> windows_;
    std::vector<std::uintptr_t> activated_;
    std::atomic<uint32_t> errorMode_{0};
    std::map<std::thread::id, uint32_t> threadErrorModes_;
    std::atomic<int> noDiskBoxes_{0};
    mutable std::recursive_mutex mutex_;
    std::condition_variable_any queriesReleased_;
    std::set<char> blockedDrives_;
    int blockedQueries_ = 0;
    std::set<std::string> failing_;
    std::set<std::string> throwing_;
    std::map<std::string, int> failTimes_;
    std::map<std::string, int> calls_;
};

}  // namespace kelvra::sim
