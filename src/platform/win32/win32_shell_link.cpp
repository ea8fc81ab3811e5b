// Win32Os: writing shortcut files, and telling the shell of drive changes.
#include <objbase.h>
#include <objidl.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

namespace {

using win32::ComScope;
using win32::UniqueCom;

// The shell link takes wide text; the caller converts from the code page.
bool WriteLink(const std::wstring& linkFile, const std::wstring& target,
               const std::wstring& arguments, const std::wstring& description,
               const std::wstring& workingFolder, HRESULT& created) {
    UniqueCom<IShellLinkW> link;
    created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               link.put());
    if (FAILED(created)) return false;
    if (FAILED(link->SetPath(target.c_str()))) return false;
    if (!arguments.empty() && FAILED(link->SetArguments(arguments.c_str()))) return false;
    if (!description.empty() && FAILED(link->SetDescription(description.c_str()))) return false;
    if (!workingFolder.empty() && FAILED(link->SetWorkingDirectory(workingFolder.c_str())))
        return false;
    UniqueCom<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put()))) return false;
    // Save replaces a file of the same name.
    return SUCCEEDED(file->Save(linkFile.c_str(), TRUE));
}

}  // namespace

bool Win32Os::CreateShellLink(const std::string& linkFile, const std::string& target,
                              const std::string& arguments, const std::wstring& description,
                              const std::string& workingFolder) {
    const std::wstring file = AnsiToWide(linkFile), path = AnsiToWide(target),
                       args = AnsiToWide(arguments), folder = AnsiToWide(workingFolder);
    if (file.empty() || target.empty()) return false;
    HRESULT created = S_OK;
    if (WriteLink(file, path, args, description, folder, created)) return true;
    if (created != CO_E_NOTINITIALIZED) return false;
    ComScope com;
    return WriteLink(file, path, args, description, folder, created);
}

void Win32Os::ShellChangeNotify(int32_t event, const std::string& path) {
    // FLUSHNOWAIT hands the notice on now, so it is not lost when a console
    // run ends right after, yet never waits for a busy Explorer.
    SHChangeNotify(static_cast<LONG>(event), SHCNF_PATHA | SHCNF_FLUSHNOWAIT, path.c_str(),
                   nullptr);
}

}  // namespace kelvra
