// The stand-in host editor: a small text editor that offers, from the host's side, everything the
// companion program relies on: its window classes and hidden child windows, the toolbar it plants
// into, the private messages and the shared block for inserted text. A person can use it as an
// editor; tests drive it through its options, its windows and the messages in HostSimControl.h,
// and read what it was asked from its log.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "HostSimControl.h"
#include "HostSimOptions.h"

namespace hostsim {
namespace {

// The host protocol, as this editor answers it.
constexpr UINT kMsgSave = 0x8190;
constexpr UINT kMsgGetMemo = 0x8192;
constexpr UINT kMsgGetLayout = 0x8194;
constexpr UINT kMsgTakeText = 0x819B;

constexpr wchar_t kMainClass[] = L"TKestrixMainForm";
constexpr wchar_t kExeNameClass[] = L"TKestrixExeName";
constexpr wchar_t kIniPathClass[] = L"TKestrixIniFilePath";
constexpr wchar_t kFileNameClass[] = L"TEdit";
constexpr wchar_t kToolbarClass[] = L"TToolbar";

constexpr int kToolbarHeight = 28;
constexpr int kFileNameHeight = 22;

enum Command : int {
    kCmdNew = 101,
    kCmdOpen,
    kCmdSave,
    kCmdSaveAs,
    kCmdExit,
    kCmdCorvane,
    kCmdCorvaneWithHandle,
};

enum TimerId : UINT_PTR {
    kTimerHideToolbar = 1,
    kTimerShowToolbar,
    kTimerDestroyToolbar,
    kTimerStartCorvane,
};

// ---------------------------------------------------------------------------------------------
// Files and paths

std::wstring ModulePath() {
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    return full;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
}

// Opened and closed for every line, so that a reader always sees every message handled so far.
void AppendLine(const std::wstring& path, const std::string& line) {
    if (path.empty()) return;
    FileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::FlushFileBuffers(file.Get());
}

std::string Hex(const char* bytes, size_t size) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 15]);
    }
    return hex;
}

std::string WindowTextAnsi(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int n = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::wstring WindowTextWide(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int n = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::uint32_t Handle32(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }

// ---------------------------------------------------------------------------------------------
// The text passed in through the shared block

struct Block {
    enum class State { Read, NoMapping, Refused } state = State::NoMapping;
    std::string bytes;  // every byte read, the terminating zero included
};

// Reads size bytes from "Kestrix_Map_<handle>", never past the view, and only when the last byte
// is the terminating zero the sender promises.
Block ReadSharedBlock(HWND main, LPARAM size) {
    Block block;
    const std::string name = "Kestrix_Map_" + std::to_string(Handle32(main));
    const HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (!mapping) return block;
    block.state = Block::State::Refused;
    if (const void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
        MEMORY_BASIC_INFORMATION region{};
        const bool known = ::VirtualQuery(view, &region, sizeof region) != 0;
        if (known && size >= 1 && static_cast<unsigned long long>(size) <= region.RegionSize) {
            const char* bytes = static_cast<const char*>(view);
            if (bytes[size - 1] == '\0') {
                block.bytes.assign(bytes, static_cast<size_t>(size));
                block.state = Block::State::Read;
            }
        }
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
    return block;
}

// ---------------------------------------------------------------------------------------------
// The editor window

class HostEditor {
public:
    explicit HostEditor(Options options) : options_(std::move(options)), layout_(options_.layout) {}

    bool Create(HINSTANCE instance, int show);
    HWND Main() const { return main_; }
    HACCEL Accelerators() const { return accelerators_; }

    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void CreateToolbar();
    void Layout();
    void OnCommand(int id);
    void OnTimer(UINT_PTR id);
    LRESULT OnSave();
    LRESULT OnTakeText(WPARAM mode, LPARAM size);
    void Log(UINT id, WPARAM wParam, LPARAM lParam, const std::string& detail = {});

    void LoadInitialDocument();
    void SetDocument(const std::string& bytes, const std::wstring& fileName, bool modified);
    bool SaveTo(const std::wstring& path);
    bool SaveInteractive(bool askForName);
    bool ConfirmDiscard();
    void NewDocument();
    void OpenDocument();
    void UpdateTitle();
    void StartCorvane(bool withHandle);
    void ScheduleToolbarTimers();
    void DestroyToolbar();
    void BringToFront();

    Options options_;
    int layout_;
    HINSTANCE instance_ = nullptr;
    HWND main_ = nullptr;
    HWND exeName_ = nullptr;
    HWND iniPath_ = nullptr;
    HWND fileName_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND memo_ = nullptr;
    HFONT font_ = nullptr;
    HACCEL accelerators_ = nullptr;
    int startAttempts_ = 0;
};

HMENU BuildMenu() {
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, kCmdNew, L"新規作成(&N)\tCtrl+N");
    ::AppendMenuW(file, MF_STRING, kCmdOpen, L"開く(&O)...\tCtrl+O");
    ::AppendMenuW(file, MF_STRING, kCmdSave, L"上書き保存(&S)\tCtrl+S");
    ::AppendMenuW(file, MF_STRING, kCmdSaveAs, L"名前を付けて保存(&A)...");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file, MF_STRING, kCmdExit, L"終了(&X)");
    HMENU tools = ::CreatePopupMenu();
    ::AppendMenuW(tools, MF_STRING, kCmdCorvane, L"Corvane(&C)");
    ::AppendMenuW(tools, MF_STRING, kCmdCorvaneWithHandle, L"Corvane (/w= でハンドルを渡す)(&W)");
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"ツール(&T)");
    return bar;
}

HACCEL BuildAccelerators() {
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'N', kCmdNew},
        {FCONTROL | FVIRTKEY, 'O', kCmdOpen},
        {FCONTROL | FVIRTKEY, 'S', kCmdSave},
    };
    return ::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = &HostEditor::MainProc;
    main.hInstance = instance;
    main.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    main.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kMainClass;
    if (!::RegisterClassExW(&main)) return false;

    for (const wchar_t* name : {kExeNameClass, kIniPathClass}) {
        WNDCLASSEXW hidden{};
    hidden.cbSize = sizeof hidden;
        hidden.lpfnWndProc = &::DefWindowProcW;
        hidden.hInstance = instance;
        hidden.lpszClassName = name;
        if (!::RegisterClassExW(&hidden)) return false;
    }

    WNDCLASSEXW toolbar{};
    toolbar.cbSize = sizeof toolbar;
    toolbar.lpfnWndProc = &HostEditor::ToolbarProc;
    toolbar.hInstance = instance;
    toolbar.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    toolbar.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    toolbar.lpszClassName = kToolbarClass;
    if (!::RegisterClassExW(&toolbar)) return false;

    // The document's name is shown in an edit box of the editor's own class name.
    WNDCLASSEXW edit{};
    edit.cbSize = sizeof edit;
    if (!::GetClassInfoExW(nullptr, L"EDIT", &edit)) return false;
    edit.hInstance = instance;
    edit.lpszClassName = kFileNameClass;
    edit.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    return ::RegisterClassExW(&edit) != 0;
}

bool HostEditor::Create(HINSTANCE instance, int show) {
    instance_ = instance;
    accelerators_ = BuildAccelerators();
    const wchar_t* title = options_.title.empty() ? L"hostsim" : options_.title.c_str();
    main_ = ::CreateWindowExW(0, kMainClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, 900, 600, nullptr, BuildMenu(), instance, this);
    if (!main_) return false;
    ::ShowWindow(main_, show);
    ::UpdateWindow(main_);
    BringToFront();
    if (options_.startCorvane) ::SetTimer(main_, kTimerStartCorvane, 50, nullptr);
    return true;
}

LRESULT CALLBACK HostEditor::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* editor = static_cast<HostEditor*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        editor->main_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
    }
    auto* editor = reinterpret_cast<HostEditor*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return editor ? editor->HandleMessage(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

// The host's own buttons are commands of the main window.
LRESULT CALLBACK HostEditor::ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam != 0 && ::GetParent(reinterpret_cast<HWND>(lParam)) == window)
        return ::SendMessageW(::GetParent(window), WM_COMMAND, wParam, lParam);
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_BOTTOM | BF_TOP);
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HostEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SETFOCUS:
            if (memo_) ::SetFocus(memo_);
            return 0;
        case WM_COMMAND:
            if (lParam == 0 || reinterpret_cast<HWND>(lParam) != memo_) OnCommand(LOWORD(wParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_SYSCOMMAND:
            // A person closing the window is asked about unsaved text; WM_CLOSE itself never asks.
            if ((wParam & 0xFFF0) == SC_CLOSE && !ConfirmDiscard()) return 0;
            break;
        case WM_CLOSE:
            ::DestroyWindow(main_);
            return 0;
        case WM_DESTROY:
            if (font_) ::DeleteObject(font_);
            ::PostQuitMessage(0);
            return 0;

        case kMsgGetMemo:
            Log(message, wParam, lParam);
            return reinterpret_cast<LRESULT>(memo_);
        case kMsgGetLayout:
            Log(message, wParam, lParam);
            return static_cast<LRESULT>(layout_);
        case kMsgSave:
            return OnSave();
        case kMsgTakeText:
            return OnTakeText(wParam, lParam);

        case kHideToolbar:
            if (toolbar_) ::ShowWindow(toolbar_, SW_HIDE);
            Layout();
            return 0;
        case kShowToolbar:
            if (toolbar_) ::ShowWindow(toolbar_, SW_SHOWNA);
            Layout();
            return 0;
        case kDestroyToolbar:
            DestroyToolbar();
            return 0;
        case kSetLayout:
            layout_ = static_cast<int>(static_cast<INT_PTR>(wParam));
            return 0;
        case kBringToFront:
            BringToFront();
            return 0;
        case kSetModified:
            ::SendMessageW(memo_, EM_SETMODIFY, wParam != 0, 0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(main_, message, wParam, lParam);
}

void HostEditor::OnCreate() {
    const std::wstring exe = ModulePath();
    const std::wstring ini = options_.ini.empty() ? FolderOf(exe) + L"hostsim.ini" : FullPath(options_.ini);
    exeName_ = ::CreateWindowExW(0, kExeNameClass, exe.c_str(), WS_CHILD, 0, 0, 0, 0, main_, nullptr, instance_, nullptr);
    iniPath_ = ::CreateWindowExW(0, kIniPathClass, ini.c_str(), WS_CHILD, 0, 0, 0, 0, main_, nullptr, instance_, nullptr);
    if (!options_.noToolbar) CreateToolbar();
    fileName_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, kFileNameClass, L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL,
                                  0, 0, 0, 0, main_, nullptr, instance_, nullptr);
    // An ANSI edit control: the text crosses the protocol as the code page's bytes.
    memo_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                  ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                              0, 0, 0, 0, main_, nullptr, instance_, nullptr);
    ::SendMessageW(memo_, EM_SETLIMITTEXT, 0, 0);
    font_ = ::CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"MS Gothic");
    const HFONT uiFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_ : uiFont), FALSE);
    ::SendMessageW(fileName_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), FALSE);
    LoadInitialDocument();
    ScheduleToolbarTimers();
    Layout();
}

// The host's own buttons sit left of x = 310; the room from 314 on is left for the companion.
void HostEditor::CreateToolbar() {
    toolbar_ = ::CreateWindowExW(0, kToolbarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 900,
                                 kToolbarHeight, main_, nullptr, instance_, nullptr);
    struct Button {
        const wchar_t* caption;
        int command;
    };
    static constexpr Button kButtons[] = {
        {L"新規", kCmdNew}, {L"開く", kCmdOpen}, {L"保存", kCmdSave}, {L"Corvane", kCmdCorvane}};
    const HFONT uiFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    int x = 2;
    for (const Button& button : kButtons) {
        const HWND control = ::CreateWindowExW(0, L"BUTTON", button.caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 2,
                                               72, kToolbarHeight - 4, toolbar_,
                                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.command)), instance_, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), FALSE);
        x += 75;
    }
}

void HostEditor::Layout() {
    RECT client;
    ::GetClientRect(main_, &client);
    const int width = client.right;
    int top = 0;
    if (toolbar_ && ::IsWindowVisible(toolbar_)) {
        ::MoveWindow(toolbar_, 0, 0, width, kToolbarHeight, TRUE);
        top += kToolbarHeight;
    }
    if (fileName_) ::MoveWindow(fileName_, 0, top, width, kFileNameHeight, TRUE);
    top += kFileNameHeight;
    if (memo_) ::MoveWindow(memo_, 0, top, width, client.bottom > top ? client.bottom - top : 0, TRUE);
}

void HostEditor::OnCommand(int id) {
    switch (id) {
        case kCmdNew:
            NewDocument();
            break;
        case kCmdOpen:
            OpenDocument();
            break;
        case kCmdSave:
            SaveInteractive(false);
            break;
        case kCmdSaveAs:
            SaveInteractive(true);
            break;
        case kCmdExit:
            if (ConfirmDiscard()) ::DestroyWindow(main_);
            break;
        case kCmdCorvane:
            StartCorvane(false);
            break;
        case kCmdCorvaneWithHandle:
            StartCorvane(true);
            break;
        default:
            break;
    }
}

void HostEditor::OnTimer(UINT_PTR id) {
    switch (id) {
        case kTimerHideToolbar:
            ::KillTimer(main_, id);
            HandleMessage(kHideToolbar, 0, 0);
            break;
        case kTimerShowToolbar:
            ::KillTimer(main_, id);
            HandleMessage(kShowToolbar, 0, 0);
            break;
        case kTimerDestroyToolbar:
            ::KillTimer(main_, id);
            DestroyToolbar();
            break;
        case kTimerStartCorvane:
            // The companion takes the foreground window as its host: wait (a little) until it is us.
            if (::GetForegroundWindow() != main_ && ++startAttempts_ < 60) {
                BringToFront();
                break;
            }
            ::KillTimer(main_, id);
            StartCorvane(false);
            break;
        default:
            break;
    }
}

void HostEditor::ScheduleToolbarTimers() {
    if (options_.hideToolbarMs >= 0) ::SetTimer(main_, kTimerHideToolbar, static_cast<UINT>(options_.hideToolbarMs), nullptr);
    if (options_.showToolbarMs >= 0) ::SetTimer(main_, kTimerShowToolbar, static_cast<UINT>(options_.showToolbarMs), nullptr);
    if (options_.destroyToolbarMs >= 0)
        ::SetTimer(main_, kTimerDestroyToolbar, static_cast<UINT>(options_.destroyToolbarMs), nullptr);
}

void HostEditor::DestroyToolbar() {
    if (toolbar_) ::DestroyWindow(toolbar_);
    toolbar_ = nullptr;
    Layout();
}

void HostEditor::BringToFront() {
    ::ShowWindow(main_, SW_SHOW);
    ::SetForegroundWindow(main_);
    ::SetActiveWindow(main_);
    ::BringWindowToTop(main_);
}

// Saves to the document's own file before returning; a document without a name is left alone.
LRESULT HostEditor::OnSave() {
    const std::wstring name = WindowTextWide(fileName_);
    std::string result = "unnamed";
    if (!name.empty()) result = SaveTo(name) ? "saved" : "failed";
    Log(kMsgSave, 0, 0, result);
    return 0;
}

LRESULT HostEditor::OnTakeText(WPARAM mode, LPARAM size) {
    const Block block = ReadSharedBlock(main_, size);
    switch (block.state) {
        case Block::State::Read:
            if (mode == 1) ::SendMessageA(memo_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(block.bytes.c_str()));
            Log(kMsgTakeText, mode, size, Hex(block.bytes.data(), block.bytes.size()));
            break;
        case Block::State::NoMapping:
            Log(kMsgTakeText, mode, size, "!nomap");
            break;
        case Block::State::Refused:
            Log(kMsgTakeText, mode, size, "!refused");
            break;
    }
    return 0;
}

// One line per protocol message: id (hex), wParam (unsigned), lParam (signed), then a detail.
void HostEditor::Log(UINT id, WPARAM wParam, LPARAM lParam, const std::string& detail) {
    if (options_.log.empty()) return;
    char head[96];
    std::snprintf(head, sizeof head, "%04X %llu %lld", id, static_cast<unsigned long long>(wParam),
                  static_cast<long long>(lParam));
    AppendLine(options_.log, detail.empty() ? std::string(head) : std::string(head) + " " + detail);
}

void HostEditor::LoadInitialDocument() {
    if (!options_.document.empty()) {
        if (const auto bytes = ReadFileBytes(options_.document)) SetDocument(*bytes, FullPath(options_.document), false);
    } else if (!options_.textFile.empty()) {
        if (const auto bytes = ReadFileBytes(options_.textFile)) SetDocument(*bytes, L"", false);
    }
    if (!options_.fileName.empty()) ::SetWindowTextW(fileName_, options_.fileName.c_str());
    if (options_.modified) ::SendMessageW(memo_, EM_SETMODIFY, TRUE, 0);
    UpdateTitle();
}

void HostEditor::SetDocument(const std::string& bytes, const std::wstring& fileName, bool modified) {
    ::SetWindowTextA(memo_, bytes.c_str());
    ::SendMessageW(memo_, EM_SETMODIFY, modified, 0);
    ::SetWindowTextW(fileName_, fileName.c_str());
    UpdateTitle();
}

bool HostEditor::SaveTo(const std::wstring& path) {
    if (!WriteFileBytes(path, WindowTextAnsi(memo_))) return false;
    ::SendMessageW(memo_, EM_SETMODIFY, FALSE, 0);
    return true;
}

const wchar_t kFileFilter[] = L"HTML ファイル (*.htm;*.html)\0*.htm;*.html\0テキスト (*.txt;*.ini)\0*.txt;*.ini\0"
                              L"すべてのファイル (*.*)\0*.*\0";

bool HostEditor::SaveInteractive(bool askForName) {
    std::wstring name = WindowTextWide(fileName_);
    if (askForName || name.empty()) {
        std::wstring buffer(32768, L'\0');
        name.copy(buffer.data(), buffer.size() - 1);
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = main_;
        dialog.lpstrFilter = kFileFilter;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrDefExt = L"htm";
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!::GetSaveFileNameW(&dialog)) return false;
        name = buffer.c_str();
    }
    if (!SaveTo(name)) {
        ::MessageBoxW(main_, (name + L"\r\nに保存できませんでした。").c_str(), L"hostsim", MB_ICONERROR);
        return false;
    }
    ::SetWindowTextW(fileName_, name.c_str());
    UpdateTitle();
    return true;
}

bool HostEditor::ConfirmDiscard() {
    if (!::SendMessageW(memo_, EM_GETMODIFY, 0, 0)) return true;
    const int answer = ::MessageBoxW(main_, L"変更を保存しますか?", L"hostsim", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) return SaveInteractive(false);
    return answer == IDNO;
}

void HostEditor::NewDocument() {
    if (ConfirmDiscard()) SetDocument({}, L"", false);
}

void HostEditor::OpenDocument() {
    if (!ConfirmDiscard()) return;
    std::wstring buffer(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = main_;
    dialog.lpstrFilter = kFileFilter;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!::GetOpenFileNameW(&dialog)) return;
    const std::wstring path = buffer.c_str();
    if (const auto bytes = ReadFileBytes(path))
        SetDocument(*bytes, path, false);
    else
        ::MessageBoxW(main_, (path + L"\r\nを開けませんでした。").c_str(), L"hostsim", MB_ICONERROR);
}

void HostEditor::UpdateTitle() {
    if (!options_.title.empty()) return;
    const std::wstring name = WindowTextWide(fileName_);
    ::SetWindowTextW(main_, ((name.empty() ? std::wstring(L"(無題)") : name) + L" - hostsim").c_str());
}

// The normal start: no arguments, while this window is in front; or with "/w=" and our handle.
void HostEditor::StartCorvane(bool withHandle) {
    const std::wstring exe = options_.corvane.empty() ? FolderOf(ModulePath()) + L"Corvane.exe" : FullPath(options_.corvane);
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (withHandle) commandLine += L" /w=" + std::to_wstring(Handle32(main_));
    const std::wstring folder = FolderOf(exe);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        ::MessageBoxW(main_, (exe + L"\r\nを起動できませんでした。").c_str(), L"hostsim", MB_ICONERROR);
        return;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace hostsim

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    hostsim::HostEditor editor(hostsim::ParseCommandLine(::GetCommandLineW(), &hostsim::FileExists));
    if (!hostsim::RegisterClasses(instance) || !editor.Create(instance, show)) return 1;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::TranslateAcceleratorW(editor.Main(), editor.Accelerators(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::DestroyAcceleratorTable(editor.Accelerators());
    return static_cast<int>(message.wParam);
}
