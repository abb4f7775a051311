// scriptedbrowser.dll: serves the scripted browser control, with simulated browsing, to any
// process that creates the web browser control while the DLL is registered in its place. Each
// control appends what it is asked to do to the log file named by the environment variable
// CORVANE_SCRIPTED_BROWSER_LOG (see tests/testbed/ScriptedBrowser.h for the lines). While
// CORVANE_SCRIPTED_BROWSER_REFUSE is set, no control can be created.

#include <windows.h>
#include <objbase.h>

#include <string>

#include "tests/testbed/ScriptedBrowser/ScriptedBrowserControl.h"
#include "tests/testbed/ScriptedBrowser/ScriptedBrowserLog.h"

namespace {

using Microsoft::WRL::ComPtr;
using scriptedbrowser::ScriptedBrowserControl;

std::wstring LogPath() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"CORVANE_SCRIPTED_BROWSER_LOG", path, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(path, length) : std::wstring();
}

void Append(const std::wstring& line) {
    const std::wstring path = LogPath();
    if (path.empty()) return;
    const std::string bytes = scriptedbrowser::EncodeLogLine(line);
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The one factory lives as long as the DLL.
    STDMETHODIMP_(ULONG) AddRef() noexcept override { return 2; }
    STDMETHODIMP_(ULONG) Release() noexcept override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        // A test of a machine whose browser control cannot be created asks for a refusal.
        if (::GetEnvironmentVariableW(L"CORVANE_SCRIPTED_BROWSER_REFUSE", nullptr, 0) > 0) {
            Append(L"Refused");
            return E_OUTOFMEMORY;
        }
        ComPtr<ScriptedBrowserControl> control = ScriptedBrowserControl::Create(true, &Append);
        Append(L"Create");
        return control->QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) noexcept override { return S_OK; }
};

Factory factory;

}  // namespace

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (classId != scriptedbrowser::kWebBrowserClass) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, out);
}

// The window classes and the controls' code stay until the process ends.
extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
