#include "tests/testbed/ScriptedBrowser.h"

#include <objbase.h>

#include <thread>

#include "tests/testbed/Failure.h"
#include "tests/testbed/ScriptedBrowser/ScriptedBrowserLog.h"
#include "tests/testbed/TestSupport.h"

namespace testsupport {

namespace {

constexpr char kClassKey[] = "Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr char kServerKey[] = "Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32";
// The machine-wide registration that the stand-in replaces, kept beside it until it is put back,
// so that a test that died half-way is mended by the next one.
constexpr char kSavedServer[] = "ScriptedBrowserSavedServer";
constexpr char kSavedThreading[] = "ScriptedBrowserSavedThreading";
constexpr CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

std::string DllPath() { return WinePath(SCRIPTEDBROWSER_DLL_UNIX); }

bool ReadString(HKEY key, const char* name, std::string& value) {
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value.assign(buffer, strnlen(buffer, size));
    return true;
}

void WriteString(HKEY key, const char* name, const std::string& value) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

void WriteServer(HKEY key) {
    WriteString(key, nullptr, DllPath());
    WriteString(key, "ThreadingModel", "Apartment");
}

// Whether COM, asked for the class now, hands out the stand-in's class object. Asked on a
// thread of its own so that the test thread's apartment stays as it is.
bool ComServesStandIn() {
    bool served = false;
    std::thread probe([&served] {
        if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
        IClassFactory* factory = nullptr;
        if (SUCCEEDED(::CoGetClassObject(kWebBrowserClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                         reinterpret_cast<void**>(&factory))) &&
            factory) {
            HMODULE module = nullptr;
            // The module that holds the factory's code.
            ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 *reinterpret_cast<const char* const*>(factory), &module);
            char name[MAX_PATH] = {};
            if (module) ::GetModuleFileNameA(module, name, MAX_PATH);
            served = _stricmp(name, DllPath().c_str()) == 0;
            factory->Release();
        }
        ::CoUninitialize();
    });
    probe.join();
    return served;
}

bool RegisterForUser() {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kServerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    WriteServer(key);
    ::RegCloseKey(key);
    return true;
}

void UnregisterForUser() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kClassKey); }

bool RegisterForMachine() {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    std::string saved;
    if (!ReadString(key, kSavedServer, saved)) {
        std::string server, threading;
        ReadString(key, nullptr, server);
        ReadString(key, "ThreadingModel", threading);
        WriteString(key, kSavedServer, server);
        WriteString(key, kSavedThreading, threading);
    }
    WriteServer(key);
    ::RegCloseKey(key);
    return true;
}

void UnregisterForMachine() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    std::string server, threading;
    if (ReadString(key, kSavedServer, server)) {
        ReadString(key, kSavedThreading, threading);
        WriteString(key, nullptr, server);
        if (threading.empty())
            ::RegDeleteValueA(key, "ThreadingModel");
        else
            WriteString(key, "ThreadingModel", threading);
        ::RegDeleteValueA(key, kSavedServer);
        ::RegDeleteValueA(key, kSavedThreading);
    }
    ::RegCloseKey(key);
}

}  // namespace

ScriptedBrowserRegistration::ScriptedBrowserRegistration() {
    logPath_ = ScratchDir("scripted-browser-" + std::to_string(::GetCurrentProcessId())) + "calls.log";
    WriteFileBytes(logPath_, "");
    char previous[4096] = {};
    const DWORD length = ::GetEnvironmentVariableA(kScriptedBrowserLogVariable, previous, sizeof previous);
    hadLogVariable_ = length > 0 && length < sizeof previous;
    if (hadLogVariable_) previousLogVariable_.assign(previous, length);
    ::SetEnvironmentVariableA(kScriptedBrowserLogVariable, logPath_.c_str());

    // A registration for this user is enough where COM honours it; otherwise the machine's
    // registration is replaced for the life of this object.
    UnregisterForMachine();
    if (RegisterForUser() && ComServesStandIn()) {
        registered_ = true;
        return;
    }
    UnregisterForUser();
    if (RegisterForMachine() && ComServesStandIn()) {
        registered_ = true;
        machineWide_ = true;
        return;
    }
    UnregisterForMachine();
    Fail() << "cannot register the scripted browser control " << DllPath();
}

ScriptedBrowserRegistration::~ScriptedBrowserRegistration() {
    if (machineWide_)
        UnregisterForMachine();
    else
        UnregisterForUser();
    if (hadLogVariable_)
        ::SetEnvironmentVariableA(kScriptedBrowserLogVariable, previousLogVariable_.c_str());
    else
        ::SetEnvironmentVariableA(kScriptedBrowserLogVariable, nullptr);
    ::DeleteFileA(logPath_.c_str());
}

std::vector<std::string> ScriptedBrowserRegistration::LogLines() const {
    std::vector<std::string> lines;
    const std::string content = ReadFileBytes(logPath_);
    size_t start = 0;
    while (start < content.size()) {
        const size_t end = content.find('\n', start);
        if (end == std::string::npos) break;  // a line still being written
        lines.push_back(scriptedbrowser::DecodeLogLine(std::string_view(content).substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ScriptedBrowserRegistration::Calls() const {
    std::vector<std::string> calls;
    for (std::string& line : LogLines())
        if (line != "Create") calls.push_back(std::move(line));
    return calls;
}

std::vector<std::string> ScriptedBrowserRegistration::NavigatedUrls() const {
    static constexpr std::string_view kNavigate = "Navigate ";
    std::vector<std::string> urls;
    for (const std::string& line : LogLines())
        if (line.compare(0, kNavigate.size(), kNavigate) == 0) urls.push_back(line.substr(kNavigate.size()));
    return urls;
}

int ScriptedBrowserRegistration::ObjectsCreated() const {
    int created = 0;
    for (const std::string& line : LogLines())
        if (line == "Create") ++created;
    return created;
}

std::vector<std::string> ScriptedBrowserRegistration::WaitForNavigatedUrls(size_t count, DWORD timeoutMs) const {
    WaitUntil([&] { return NavigatedUrls().size() >= count; }, timeoutMs);
    return NavigatedUrls();
}

void ScriptedBrowserRegistration::ClearLog() {
    const HANDLE file = ::CreateFileA(logPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

}  // namespace testsupport
