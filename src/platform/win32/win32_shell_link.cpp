// Win32Os: writing shortcut files.
#include <objbase.h>
#include <objidl.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

namespace {

using win32::UniqueCom;

// COM for the length of one call when the thread has not initialised it.
class ComScope {
  public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised_;
};

// The shell link takes wide text; the caller converts from the system code
// page.
struct LinkTexts {
    std::wstring file, target, arguments, description, workingFolder;
};

bool WriteLink(const LinkTexts& link, HRESULT& created) {
    UniqueCom<IShellLinkW> shellLink;
    created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               shellLink.put());
    if (FAILED(created)) return false;
    if (FAILED(shellLink->SetPath(link.target.c_str()))) return false;
    if (!link.arguments.empty() && FAILED(shellLink->SetArguments(link.arguments.c_str())))
        return false;
    if (!link.description.empty() && FAILED(shellLink->SetDescription(link.description.c_str())))
        return false;
    if (!link.workingFolder.empty() &&
        FAILED(shellLink->SetWorkingDirectory(link.workingFolder.c_str())))
        return false;
    UniqueCom<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.put()))) return false;
    // Save replaces a file of the same name.
    return SUCCEEDED(file->Save(link.file.c_str(), TRUE));
}

}  // namespace

bool Win32Os::CreateShellLink(const std::string& linkFile, const std::string& target,
                              const std::string& arguments, const std::wstring& description,
                              const std::string& workingFolder) {
    const LinkTexts link{AnsiToWide(linkFile), AnsiToWide(target), AnsiToWide(arguments),
                         description, AnsiToWide(workingFolder)};
    if (link.file.empty() || target.empty()) return false;
    HRESULT created = S_OK;
    if (WriteLink(link, created)) return true;
    if (created != CO_E_NOTINITIALIZED) return false;
    ComScope com;
    return WriteLink(link, created);
}

}  // namespace kelvra
