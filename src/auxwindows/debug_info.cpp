#include "auxwindows/debug_info.h"

#include "config/registration.h"
#include "language/language.h"
#include "platform/inireg.h"
#include "program.h"
#include "startup/permanent.h"
#include "util/text.h"

namespace kelvra {

namespace {

// Libraries of the runtime the program was first written against; their
// versions still tell support what kind of system it is.
constexpr const char* kSystemFiles[] = {
    "advpack.dll",  "asycfilt.dll", "comcat.dll",   "mscomctl.ocx",
    "msvbvm60.dll", "oleaut32.dll", "olepro32.dll", "stdole2.tlb",
};

// A settings file is a few kilobytes; the limit keeps a wrong file from
// filling the window.
constexpr std::size_t kMaxIniBytes = 1u << 20;

class Dump {
  public:
    void Line(const std::string& text) { out_ += text + "\r\n"; }
    // Every header but the first follows an empty line.
    void Section(const std::string& header) {
        if (!out_.empty()) out_ += "\r\n";
        Line(header);
    }
    void Flag(const std::string& label, bool on) { Line(label + (on ? "1" : "0")); }
    std::string& Text() { return out_; }

  private:
    std::string out_;
};

// A value as text; empty when it cannot be read.
std::string RegText(Os& os, RegKey root, const std::string& subkey, const std::string& name) {
    std::string value;
    std::string typeName;
    RegGetValue(os, root, subkey, name, value, typeName);
    return value;
}

// The file's lines as written; CR LF, CR and LF each end one.
void AppendLines(Dump& dump, const std::string& bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            dump.Line(bytes.substr(start));
            return;
        }
        dump.Line(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
}

}  // namespace

std::string SystemFolder(Os& os) {
    return text::WithBackslash(os.SystemDirectory());
}

std::string FileVersionText(Os& os, const std::string& path) {
    FileVersion v;
    if (!os.GetFileVersion(path, v)) return {};
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) +
           "." + std::to_string(v.revision);
}

std::string DebugDump(Program& program, const TimerStates& timers) {
    Os& os = program.os;
    const StartupState& s = program.startup;
    const Settings& settings = program.settings;
    const LanguageState& language = program.language;
    Dump dump;

    dump.Section("--MOST IMPORTANT VARIABLES--");
    dump.Line("WindowsVerText: " + s.WindowsVersion.Text);
    dump.Line("WindowsVerNumbers: " + s.WindowsVersion.Numbers);
    dump.Line("User: " + s.User);
    // Without a system folder the bare names would be looked up in the
    // current drive's root, which says nothing about the system.
    const std::string systemFolder = SystemFolder(os);
    for (const char* file : kSystemFiles)
        dump.Line(
            std::string(file) + " Version: " +
            (systemFolder == "\\" ? std::string() : FileVersionText(os, systemFolder + file)));
    dump.Line("ApplicationVersion: " + s.ApplicationVersion);
    dump.Line("ApplicationPath: " + s.ApplicationPath);
    dump.Line("ApplicationINIPath: " + s.AppDataPath + "Brannock\\Kelvra\\");
    const std::string pack = s.ApplicationPath + "languages\\" + settings.Language + ".lng";
    dump.Line("LanguageFile: " + pack + " (" + (FileExists(os, pack) ? "1" : "0") + ")");
    dump.Line("LanguageAuthor: " + os.WideToAnsi(Text(language, TextKey::author_name)));
    dump.Line("LanguageVersion: " + os.WideToAnsi(Text(language, TextKey::author_version)));
    const std::string help = s.ApplicationPath + "helpfiles\\" + settings.Language + ".chm";
    dump.Line("HelpFile: " + help + " (" + (FileExists(os, help) ? "1" : "0") + ")");
    dump.Flag("Local: ", s.Local);
    dump.Flag("Develop: ", s.Develop);
    dump.Flag("AutostartStay: ", settings.AutostartStay);
    dump.Flag("PermAutostart: ", settings.PermAutostart);
    dump.Flag("GlobalINI: ", s.GlobalINI);
    dump.Flag("GlobalProfile: ", s.GlobalProfile);
    for (std::size_t i = 0; i < timers.size(); ++i)
        dump.Line("Timer" + std::to_string(i + 1) +
                  ".intervall: " + std::to_string(timers[i].Interval));
    for (std::size_t i = 0; i < timers.size(); ++i)
        dump.Flag("Timer" + std::to_string(i + 1) + ".enabled: ", timers[i].Enabled);

    dump.Section("--REGISTRY--");
    dump.Line("REGAutorun: " + RegText(os, kHkeyCurrentUser, kRunKey, kRunValue));
    const ContextEntry folderEntry = ShownContextEntry(os, true);
    dump.Line("ShellcontextNewString: " + folderEntry.caption);
    dump.Line("ShellcontextNew: " + folderEntry.command);
    const ContextEntry driveEntry = ShownContextEntry(os, false);
    dump.Line("ShellcontextKillString: " + driveEntry.caption);
    dump.Line("ShellcontextKill: " + driveEntry.command);

    const DriveTables& tables = program.drives;
    dump.Section("--MAIN DRIVE TABLE (INTERNAL)--");
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const DriveRecord& r = tables.main[i];
        const std::string* fields[] = {&r.Drive,     &r.Type,  &r.Path,
                                       &r.Permanent, &r.State, &r.Label};
        std::string line = std::to_string(i) + ": ";
        for (int f = 0; f < 6; ++f) line += std::to_string(f) + ">" + *fields[f] + " ";
        dump.Line(line);
    }
    dump.Section("--SNAPSHOT DRIVE TABLE (INTERNAL)--");
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const SnapshotRecord& r = tables.snapshot[i];
        dump.Line(std::to_string(i) + ": 0>" + r.RawType + " 1>" + r.Path + " ");
    }
    dump.Section("--LIST DRIVE TABLE (VISIBLE)--");
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        const ListRecord& r = tables.list[i];
        dump.Line(std::to_string(i) + ": 0>" + r.Drive + " 1>" + r.Permanent + " 2>" + r.Type +
                  " 3>" + r.Path + " ");
    }

    if (FileExists(os, s.IniFilePath)) {
        dump.Section("--INI--");
        std::string bytes;
        if (os.ReadFile(s.IniFilePath, bytes, kMaxIniBytes)) AppendLines(dump, bytes);
    }
    return std::move(dump.Text());
}

}  // namespace kelvra
