// kelvrashell: on Windows 98 and ME, Explorer's drive context-menu entry starts
// this launcher, which makes its own drive current and passes the whole
// command line on to Kelvra beside it. Started any other way it says what it is.
#include <windows.h>

#include <string>

namespace {

const char kDescription[] = "Shell Context Extension for Win 98/Win ME";

// The argument string after the program name, as the process got it.
std::string Arguments() {
    const char* p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// The launcher's folder, without a trailing backslash unless it is a drive root.
std::string OwnFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n < MAX_PATH ? n : MAX_PATH);
    std::size_t slash = full.find_last_of('\\');
    if (slash == std::string::npos) return full;
    std::string folder = full.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

bool ContainsNoCase(const std::string& haystack, const char* needle) {
    std::string upper = haystack;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return upper.find(needle) != std::string::npos;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string arguments = Arguments();
    if (!ContainsNoCase(arguments, "/CUT")) {
        MessageBoxA(nullptr, kDescription, "kelvrashell", MB_OK);
        return 0;
    }
    const std::string folder = OwnFolder();
    SetCurrentDirectoryA(folder.substr(0, 2).c_str());
    // A drive root gives a doubled backslash here, which the file system accepts.
    const std::string kelvra = folder + "\\kelvra.exe";
    DWORD attributes = GetFileAttributesA(kelvra.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    // The program path is quoted and named separately, so a folder with blanks
    // can never start some other program.
    std::string commandLine = "\"" + kelvra + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(kelvra.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}
