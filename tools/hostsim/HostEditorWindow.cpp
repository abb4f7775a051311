// The stand-in editor's windows: the main window with the hidden children the companion reads,
// the toolbar it plants into, the document's name and the text area; its menu and keys; and its
// answers to the protocol's messages and to the test messages of HostSimControl.h.

#include "tools/hostsim/HostEditor.h"

#include <iterator>

#include "tools/hostsim/HostSimBlock.h"
#include "tools/hostsim/HostSimControl.h"
#include "tools/hostsim/HostSimFiles.h"
#include "tools/hostsim/HostSimLaunch.h"
#include "tools/hostsim/HostSimProtocol.h"

namespace hostsim {

namespace {

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

}  // namespace

bool HostEditor::RegisterClasses(HINSTANCE instance) {
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
            log_.Write(message, wParam, lParam);
            return reinterpret_cast<LRESULT>(memo_);
        case kMsgGetLayout:
            log_.Write(message, wParam, lParam);
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
        case kInsertAgain:
            InsertAtCaret(lastInserted_);
            return 0;
        case kGetInsertTime:
            return static_cast<LRESULT>(lastInsertTime_);
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
            StartCompanion(main_, options_.corvane, false);
            break;
        case kCmdCorvaneWithHandle:
            StartCompanion(main_, options_.corvane, true);
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
            StartCompanion(main_, options_.corvane, false);
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
    const std::wstring name = DocumentName();
    std::string result = "unnamed";
    if (!name.empty()) result = SaveTo(name) ? "saved" : "failed";
    log_.Write(kMsgSave, 0, 0, result);
    return 0;
}

LRESULT HostEditor::OnTakeText(WPARAM mode, LPARAM size) {
    const Block block = ReadSharedBlock(main_, size);
    switch (block.state) {
        case Block::State::Read:
            if (mode == kModeInsertAtCaret) {
                lastInserted_ = block.bytes;
                InsertAtCaret(block.bytes);
            }
            log_.Write(kMsgTakeText, mode, size, Hex(block.bytes));
            break;
        case Block::State::NoMapping:
            log_.Write(kMsgTakeText, mode, size, "!nomap");
            break;
        case Block::State::Refused:
            log_.Write(kMsgTakeText, mode, size, "!refused");
            break;
    }
    return 0;
}

void HostEditor::InsertAtCaret(const std::string& bytes) {
    if (bytes.empty()) return;
    ::SendMessageA(memo_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(bytes.c_str()));
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    lastInsertTime_ = now.QuadPart;
}

}  // namespace hostsim
