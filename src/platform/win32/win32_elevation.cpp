// Win32Os: the token's elevation, starting programs across it, and the
// logon task that restores drives for elevated programs.
#include <exdisp.h>
#include <objbase.h>
#include <oleauto.h>
#include <shldisp.h>
#include <taskschd.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

namespace {

using win32::ComScope;
using win32::UniqueCom;
using win32::UniqueHandle;

// Not every import library names these.
const CLSID kClsidTaskScheduler = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};
const IID kIidTaskService = {
    0x2faba4c7, 0x4da9, 0x4013, {0x96, 0x97, 0x20, 0xcc, 0x3f, 0xd4, 0x0f, 0x85}};
const IID kIidExecAction = {
    0x4c3d624d, 0xfd6b, 0x49a3, {0xb9, 0xb7, 0x09, 0xcb, 0x3c, 0xd3, 0xf0, 0x47}};

// The logon trigger's own interface, which not every header declares.
struct ILogonTriggerOwn : ITrigger {
    virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR* delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR* user) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
};
const IID kIidLogonTrigger = {
    0x72dade38, 0xfae4, 0x4b3e, {0xba, 0xf4, 0x5d, 0x00, 0x9a, 0xf0, 0x2b, 0x1c}};

class Bstr {
  public:
    explicit Bstr(const std::wstring& text) : s_(SysAllocString(text.c_str())) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return s_; }

  private:
    BSTR s_;
};

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    explicit Variant(const std::wstring& text) : Variant() {
        V_VT(&v_) = VT_BSTR;
        V_BSTR(&v_) = SysAllocString(text.c_str());
    }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* operator&() { return &v_; }
    operator VARIANT() const { return v_; }

  private:
    VARIANT v_;
};

int32_t ErrorOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    return hr == E_ACCESSDENIED ? oserr::kAccessDenied : static_cast<int32_t>(hr);
}

bool OpenOwnToken(UniqueHandle& token) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    token.Reset(raw);
    return true;
}

bool LogonSession(HANDLE token, LUID& session) {
    TOKEN_STATISTICS statistics{};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenStatistics, &statistics, sizeof statistics, &size))
        return false;
    session = statistics.AuthenticationId;
    return true;
}

// The desktop's shell dispatch object (Shell.Application of Explorer's own
// process): what it starts runs with Explorer's token.
HRESULT DesktopShell(UniqueCom<IShellDispatch2>& shell) {
    UniqueCom<IShellWindows> windows;
    HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IShellWindows, windows.put());
    if (FAILED(hr)) return hr;
    Variant location, root;
    V_VT(&location) = VT_I4;
    V_I4(&location) = CSIDL_DESKTOP;
    long window = 0;
    UniqueCom<IDispatch> desktop;
    hr = windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                               reinterpret_cast<IDispatch**>(desktop.put()));
    if (hr != S_OK || !desktop) return FAILED(hr) ? hr : E_FAIL;
    UniqueCom<IServiceProvider> provider;
    if (FAILED(hr = desktop->QueryInterface(IID_IServiceProvider, provider.put()))) return hr;
    UniqueCom<IShellBrowser> browser;
    hr = provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put());
    if (FAILED(hr)) return hr;
    UniqueCom<IShellView> view;
    if (FAILED(hr = browser->QueryActiveShellView(reinterpret_cast<IShellView**>(view.put()))))
        return hr;
    UniqueCom<IDispatch> background;
    hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put());
    if (FAILED(hr)) return hr;
    UniqueCom<IShellFolderViewDual> folderView;
    hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.put());
    if (FAILED(hr)) return hr;
    UniqueCom<IDispatch> application;
    if (FAILED(hr = folderView->get_Application(reinterpret_cast<IDispatch**>(application.put()))))
        return hr;
    return application->QueryInterface(IID_IShellDispatch2, shell.put());
}

// The account as the task scheduler names it, "DOMAIN\user".
std::wstring CurrentAccount() {
    wchar_t domain[256] = {}, user[256] = {};
    DWORD n = GetEnvironmentVariableW(L"USERDOMAIN", domain, 256);
    const bool hasDomain = n > 0 && n < 256;
    DWORD size = 256;
    if (!GetUserNameW(user, &size)) return {};
    return hasDomain ? std::wstring(domain) + L"\\" + user : std::wstring(user);
}

HRESULT RootFolder(UniqueCom<ITaskService>& service, UniqueCom<ITaskFolder>& folder) {
    HRESULT hr = CoCreateInstance(kClsidTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  kIidTaskService, service.put());
    if (FAILED(hr)) return hr;
    Variant none;
    if (FAILED(hr = service->Connect(none, none, none, none))) return hr;
    Bstr root(L"\\");
    return service->GetFolder(root, reinterpret_cast<ITaskFolder**>(folder.put()));
}

}  // namespace

uint32_t Win32Os::TokenElevationType() {
    UniqueHandle token;
    if (!OpenOwnToken(token)) return kElevationDefault;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    // Before Windows 6 the class is unknown and the call fails.
    if (!GetTokenInformation(token.get(), ::TokenElevationType, &type, sizeof type, &size))
        return kElevationDefault;
    return static_cast<uint32_t>(type);
}

bool Win32Os::LinkedTokenInOtherSession() {
    UniqueHandle token;
    if (!OpenOwnToken(token)) return false;
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenLinkedToken, &linked, sizeof linked, &size))
        return false;
    UniqueHandle other(linked.LinkedToken);
    LUID own{}, theirs{};
    if (!LogonSession(token.get(), own) || !LogonSession(other.get(), theirs)) return false;
    return own.LowPart != theirs.LowPart || own.HighPart != theirs.HighPart;
}

LaunchResult Win32Os::ShellExecuteAsDesktop(const std::string& file,
                                            const std::string& parameters) {
    const ComScope com;
    UniqueCom<IShellDispatch2> shell;
    if (FAILED(DesktopShell(shell))) return LaunchResult::NoShell;
    Bstr wideFile(AnsiToWide(file));
    Variant arguments(AnsiToWide(parameters)), folder, verb(L"open"), show;
    V_VT(&show) = VT_I4;
    V_I4(&show) = SW_HIDE;
    const HRESULT hr = shell->ShellExecute(wideFile, arguments, folder, verb, show);
    return SUCCEEDED(hr) ? LaunchResult::Started : LaunchResult::Failed;
}

LaunchResult Win32Os::RunElevatedAndWait(const std::string& file, const std::string& parameters,
                                         uint32_t& exitCode) {
    const std::wstring wideFile = AnsiToWide(file);
    const std::wstring wideParameters = AnsiToWide(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.hwnd = GetActiveWindow();
    info.lpVerb = L"runas";
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info))
        return GetLastError() == ERROR_CANCELLED ? LaunchResult::Declined : LaunchResult::Failed;
    if (!info.hProcess) return LaunchResult::Failed;
    UniqueHandle process(info.hProcess);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.get(), &code)) return LaunchResult::Failed;
    exitCode = code;
    return LaunchResult::Started;
}

int32_t Win32Os::CreateLogonTask(const std::string& name, const std::string& program,
                                 const std::string& arguments) {
    const ComScope com;
    UniqueCom<ITaskService> service;
    UniqueCom<ITaskFolder> folder;
    HRESULT hr = RootFolder(service, folder);
    if (FAILED(hr)) return ErrorOf(hr);
    UniqueCom<ITaskDefinition> task;
    if (FAILED(hr = service->NewTask(0, reinterpret_cast<ITaskDefinition**>(task.put()))))
        return ErrorOf(hr);

    // The current user's logon, with the rights of an elevated program.
    const std::wstring wideUser = CurrentAccount();
    UniqueCom<IPrincipal> principal;
    if (FAILED(hr = task->get_Principal(reinterpret_cast<IPrincipal**>(principal.put()))) ||
        FAILED(hr = principal->put_LogonType(TASK_LOGON_INTERACTIVE_TOKEN)) ||
        FAILED(hr = principal->put_RunLevel(TASK_RUNLEVEL_HIGHEST)))
        return ErrorOf(hr);
    UniqueCom<ITriggerCollection> triggers;
    UniqueCom<ITrigger> trigger;
    UniqueCom<ILogonTriggerOwn> logon;
    if (FAILED(hr = task->get_Triggers(reinterpret_cast<ITriggerCollection**>(triggers.put()))) ||
        FAILED(hr = triggers->Create(TASK_TRIGGER_LOGON,
                                     reinterpret_cast<ITrigger**>(trigger.put()))) ||
        FAILED(hr = trigger->QueryInterface(kIidLogonTrigger, logon.put())))
        return ErrorOf(hr);
    Bstr userId(wideUser);
    if (FAILED(hr = logon->put_UserId(userId))) return ErrorOf(hr);
    // A laptop on battery must still get its drives.
    UniqueCom<ITaskSettings> settings;
    if (SUCCEEDED(task->get_Settings(reinterpret_cast<ITaskSettings**>(settings.put())))) {
        settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
        settings->put_StopIfGoingOnBatteries(VARIANT_FALSE);
    }
    UniqueCom<IActionCollection> actions;
    UniqueCom<IAction> action;
    UniqueCom<IExecAction> exec;
    if (FAILED(hr = task->get_Actions(reinterpret_cast<IActionCollection**>(actions.put()))) ||
        FAILED(hr = actions->Create(TASK_ACTION_EXEC, reinterpret_cast<IAction**>(action.put()))) ||
        FAILED(hr = action->QueryInterface(kIidExecAction, exec.put())))
        return ErrorOf(hr);
    Bstr path(AnsiToWide(program)), args(AnsiToWide(arguments));
    if (FAILED(hr = exec->put_Path(path)) || FAILED(hr = exec->put_Arguments(args)))
        return ErrorOf(hr);

    Bstr taskName(AnsiToWide(name));
    Variant none, account(wideUser);
    UniqueCom<IRegisteredTask> registered;
    hr = folder->RegisterTaskDefinition(taskName, task.get(), TASK_CREATE_OR_UPDATE, account, none,
                                        TASK_LOGON_INTERACTIVE_TOKEN, none,
                                        reinterpret_cast<IRegisteredTask**>(registered.put()));
    return FAILED(hr) ? ErrorOf(hr) : oserr::kSuccess;
}

int32_t Win32Os::DeleteLogonTask(const std::string& name) {
    const ComScope com;
    UniqueCom<ITaskService> service;
    UniqueCom<ITaskFolder> folder;
    HRESULT hr = RootFolder(service, folder);
    if (FAILED(hr)) return ErrorOf(hr);
    Bstr taskName(AnsiToWide(name));
    hr = folder->DeleteTask(taskName, 0);
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return oserr::kSuccess;
    return FAILED(hr) ? ErrorOf(hr) : oserr::kSuccess;
}

bool Win32Os::LogonTaskExists(const std::string& name) {
    const ComScope com;
    UniqueCom<ITaskService> service;
    UniqueCom<ITaskFolder> folder;
    if (FAILED(RootFolder(service, folder))) return false;
    Bstr taskName(AnsiToWide(name));
    UniqueCom<IRegisteredTask> task;
    return SUCCEEDED(folder->GetTask(taskName, reinterpret_cast<IRegisteredTask**>(task.put())));
}

std::vector<std::string> Win32Os::ProgramFilesFolders() {
    std::vector<std::string> folders;
    const auto add = [&folders](std::string folder) {
        if (folder.empty()) return;
        if (folder.back() != '\\') folder += '\\';
        for (const std::string& known : folders)
            if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, known.c_str(), -1, folder.c_str(),
                               -1) == CSTR_EQUAL)
                return;
        folders.push_back(folder);
    };
    char path[MAX_PATH] = {};
    for (const int id : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86})
        if (SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) add(path);
    // A 32-bit program on 64-bit Windows is told the x86 folder for both.
    const DWORD n = GetEnvironmentVariableA("ProgramW6432", path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) add(path);
    return folders;
}

uint32_t Win32Os::WNetCancelConnectionHere(const std::string& name, bool force) {
    return WNetCancelConnection2A(name.c_str(), 0, force ? TRUE : FALSE);
}

}  // namespace kelvra
