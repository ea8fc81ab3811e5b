// Win32Os: writing shortcut files.
#include <objbase.h>
#include <objidl.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

namespace {

using win32::UniqueCom;

// Paths and targets are in the system code page; the shell link takes wide text.
std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), n);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

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

bool WriteLink(const std::wstring& linkFile, const std::string& target,
               const std::string& arguments, const std::wstring& description,
               const std::string& workingFolder, HRESULT& created) {
    UniqueCom<IShellLinkW> link;
    created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               link.put());
    if (FAILED(created)) return false;
    if (FAILED(link->SetPath(Wide(target).c_str()))) return false;
    if (!arguments.empty() && FAILED(link->SetArguments(Wide(arguments).c_str()))) return false;
    if (!description.empty() && FAILED(link->SetDescription(description.c_str()))) return false;
    if (!workingFolder.empty() && FAILED(link->SetWorkingDirectory(Wide(workingFolder).c_str())))
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
    const std::wstring file = Wide(linkFile);
    if (file.empty() || target.empty()) return false;
    HRESULT created = S_OK;
    if (WriteLink(file, target, arguments, description, workingFolder, created)) return true;
    if (created != CO_E_NOTINITIALIZED) return false;
    ComScope com;
    return WriteLink(file, target, arguments, description, workingFolder, created);
}

}  // namespace kelvra
