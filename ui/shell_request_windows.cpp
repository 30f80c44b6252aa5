// Corvant asks for administrator rights, and what ShellExecuteA starts
// inherits them: a browser would then handle web pages with them. While
// Corvant's token is elevated, the request goes to the desktop's shell
// (Explorer, running with the user's own rights) instead, which starts the
// program as its own child. Where there is no such shell, or Corvant is not
// elevated, ShellExecuteA takes the request as before.
//
// The program's header comes first: <shellapi.h> names ShellExecute as a
// macro, which must rename IShellDispatch2's method where it is declared too.
#include "ui/shell_request.h"

#include <exdisp.h>
#include <objbase.h>
#include <oleauto.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cstring>
#include <string>

namespace {

// Owns one COM interface pointer and releases it on every path.
template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() {
        if (pointer_) pointer_->Release();
    }
    ComPointer(const ComPointer &) = delete;
    ComPointer &operator=(const ComPointer &) = delete;

    Interface *get() const { return pointer_; }
    Interface *operator->() const { return pointer_; }
    Interface **out() { return &pointer_; }
    void **outVoid() { return reinterpret_cast<void **>(&pointer_); }

private:
    Interface *pointer_ = nullptr;
};

// A BSTR made from text in the ANSI code page, freed on every path.
class WideString {
public:
    explicit WideString(const char *text) {
        const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (length <= 0) return;
        std::wstring wide(static_cast<size_t>(length), L'\0');
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length) == length)
            string_ = SysAllocString(wide.c_str());
    }
    ~WideString() { SysFreeString(string_); }
    WideString(const WideString &) = delete;
    WideString &operator=(const WideString &) = delete;

    BSTR get() const { return string_; }

private:
    BSTR string_ = nullptr;
};

// Windows XP has no elevation: there GetTokenInformation refuses the
// question, and Corvant runs with the user's own token.
bool runsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const BOOL answered = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return answered && elevation.TokenIsElevated != 0;
}

// The desktop's shell takes a request before it has looked for a handler, so
// its answer does not tell whether an address of an unknown scheme (such as
// ms-settings: before Windows 8) can be opened. Such an address is refused
// here, as ShellExecuteA would refuse it.
bool schemeWithoutHandler(const char *file) {
    const char *colon = std::strchr(file, ':');
    // "C:\..." is a drive, not a scheme.
    if (colon == nullptr || colon - file < 2) return false;
    const std::string scheme(file, static_cast<size_t>(colon - file));
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, scheme.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return true;
    RegCloseKey(key);
    return false;
}

// The shell dispatch object of the desktop's folder view: Explorer's own.
bool findDesktopShell(ComPointer<IShellDispatch2> &shell) {
    ComPointer<IShellWindows> windows;
    if (FAILED(
            CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.outVoid())))
        return false;
    // The desktop is named by its CSIDL, as Microsoft documents for it; an
    // empty location may find no window on Windows.
    VARIANT desktopLocation;
    VariantInit(&desktopLocation);
    desktopLocation.vt = VT_I4;
    desktopLocation.lVal = CSIDL_DESKTOP;
    VARIANT noRoot;
    VariantInit(&noRoot);
    long desktopWindow = 0;
    ComPointer<IDispatch> desktop;
    if (windows->FindWindowSW(&desktopLocation, &noRoot, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                              desktop.out()) != S_OK ||
        !desktop.get())
        return false;
    ComPointer<IServiceProvider> services;
    ComPointer<IShellBrowser> browser;
    ComPointer<IShellView> view;
    ComPointer<IDispatch> background;
    ComPointer<IShellFolderViewDual> folderView;
    ComPointer<IDispatch> application;
    return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.outVoid())) &&
           SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.outVoid())) &&
           SUCCEEDED(browser->QueryActiveShellView(view.out())) &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.outVoid())) &&
           SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.outVoid())) &&
           SUCCEEDED(folderView->get_Application(application.out())) && application.get() &&
           SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.outVoid()));
}

VARIANT textArgument(const WideString &text) {
    VARIANT argument;
    VariantInit(&argument);
    if (text.get()) {
        argument.vt = VT_BSTR;
        argument.bstrVal = text.get();
    }
    return argument;
}

bool askDesktopShell(const char *file, const char *parameters) {
    ComPointer<IShellDispatch2> shell;
    const WideString wideFile(file);
    const WideString wideParameters(parameters ? parameters : "");
    const WideString verb("open");
    if (!wideFile.get() || !findDesktopShell(shell)) return false;
    VARIANT noDirectory;
    VariantInit(&noDirectory);
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    // The strings stay owned by the WideStrings; the VARIANTs only lend them.
    return shell->ShellExecute(wideFile.get(), textArgument(wideParameters), noDirectory, textArgument(verb), show) ==
           S_OK;
}

// Every COM pointer is released before COM is closed again.
bool openThroughDesktop(const char *file, const char *parameters) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
    const bool taken = askDesktopShell(file, parameters);
    CoUninitialize();
    return taken;
}

bool openWithOwnRights(HWND owner, const char *file, const char *parameters) {
    const HINSTANCE result = ShellExecuteA(owner, "open", file, parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool runsWithUsersRights() { return !runsElevated(); }

bool openOnlyForUser(HWND owner, const char *file, const char *parameters) {
    if (!runsElevated()) return openWithOwnRights(owner, file, parameters);
    return !schemeWithoutHandler(file) && openThroughDesktop(file, parameters);
}

bool openForUser(HWND owner, const char *file, const char *parameters) {
    if (runsElevated()) {
        if (schemeWithoutHandler(file)) return false;
        if (openThroughDesktop(file, parameters)) return true;
    }
    return openWithOwnRights(owner, file, parameters);
}

// COM is opened and closed around the request, as for the desktop's shell.
bool openAssociationPage(HWND, const char *registeredName) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
    bool shown = false;
    {
        const WideString name(registeredName);
        ComPointer<IApplicationAssociationRegistrationUI> page;
        if (name.get() &&
            SUCCEEDED(CoCreateInstance(CLSID_ApplicationAssociationRegistrationUI, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IApplicationAssociationRegistrationUI, page.outVoid())))
            shown = SUCCEEDED(page->LaunchAdvancedAssociationUI(name.get()));
    }
    CoUninitialize();
    return shown;
}

// The current directory may be one the user can write to (the file-open
// dialog moves it), and a program of the same name there must not be found
// first.
const char *controlPanelProgram() {
    static char path[MAX_PATH + 16] = "";
    if (path[0] == '\0') {
        const UINT length = GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return "control.exe";
        std::strcat(path, "\\control.exe");
    }
    return path;
}
