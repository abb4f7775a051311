#include "tests/testbed/ToolbarDriver.h"

#include "tests/testbed/Failure.h"

namespace toolbartest {

using namespace testsupport;

namespace {

constexpr DWORD kPlantTimeoutMs = 15000;

// A block of another process's memory, for the toolbar messages that answer through a pointer.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    template <typename T>
    T Read() const {
        T value{};
        SIZE_T read = 0;
        if (!address_ || !::ReadProcessMemory(process_, address_, &value, sizeof value, &read))
            Fail() << "cannot read Corvane's memory";
        return value;
    }

private:
    HANDLE process_;
    void* address_;
};

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

}  // namespace

void MoveMouseTo(POINT screen) {
    ::SetCursorPos(screen.x - 3, screen.y);
    PumpFor(50);
    ::SetCursorPos(screen.x, screen.y);
    SendMouse(MOUSEEVENTF_MOVE);
    PumpFor(100);
}

POINT ClientOrigin(HWND window, HWND of) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    POINT origin{rect.left, rect.top};
    ::ScreenToClient(of, &origin);
    return origin;
}

SIZE SizeOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

CorvaneOnHost::~CorvaneOnHost() {
    corvane_.Kill();
    host_ = HostSim();
    if (ownsFolder_) RemoveTree(dir_);
}

void CorvaneOnHost::Start(const HostSim::Options& options, const char* tagIni, bool waitForToolbar) {
    dir_ = ScratchDir("toolbar e2e");
    ownsFolder_ = true;
    Launch(StageCorvane(dir_, tagIni), options, waitForToolbar);
}

void CorvaneOnHost::StartBeside(const CorvaneOnHost& first, const HostSim::Options& options) {
    dir_ = first.dir_;
    Launch(dir_ + "Corvane.exe", options, true);
}

void CorvaneOnHost::Launch(const std::string& exe, const HostSim::Options& options, bool waitForToolbar) {
    host_ = HostSim::Start(options);
    if (!host_.Main()) {
        Fail(FailureKind::Fatal) << "the stand-in host did not start";
        return;
    }
    corvane_ = StartCorvane(exe, host_);
    if (!corvane_.Running()) {
        Fail(FailureKind::Fatal) << "Corvane did not start";
        return;
    }
    if (!waitForToolbar) return;
    planted_ = WaitForPlantedToolbar(host_, corvane_.Id(), kPlantTimeoutMs);
    if (!planted_) {
        Fail(FailureKind::Fatal) << "Corvane planted no visible toolbar in the host";
        return;
    }
    // The address box is shown right after the toolbar.
    if (!WaitUntil([&] { return URL() && ::IsWindowVisible(URL()); }, kPlantTimeoutMs))
        Fail(FailureKind::Fatal) << "Corvane's address box did not show";
}

HWND CorvaneOnHost::Buttons() const { return ::FindWindowExA(planted_, nullptr, "ToolbarWindow32", nullptr); }

HWND CorvaneOnHost::URL() const { return ::FindWindowExA(Buttons(), nullptr, "Edit", nullptr); }

namespace {

RECT RemoteItemRect(const Process& process, HWND bar, int index) {
    RemoteBlock rect(process.Handle(), sizeof(RECT));
    if (!::SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), rect.Address()))
        Fail() << "no toolbar item " << index;
    return rect.Read<RECT>();
}

TBBUTTON RemoteButton(const Process& process, HWND bar, int index) {
    RemoteBlock button(process.Handle(), sizeof(TBBUTTON));
    if (!::SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(index), button.Address()))
        Fail() << "no toolbar button " << index;
    return button.Read<TBBUTTON>();
}

void ClickItemOf(HWND bar, const RECT& item) {
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(bar, &centre);
    ClickAt(centre);
}

}  // namespace

int CorvaneOnHost::IndexOf(int id) const {
    const LRESULT index = ::SendMessageW(Buttons(), TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0);
    if (index < 0) Fail() << "no toolbar item of id " << id;
    return static_cast<int>(index);
}

RECT CorvaneOnHost::ItemRect(int id) const { return RemoteItemRect(corvane_, Buttons(), IndexOf(id)); }

TBBUTTON CorvaneOnHost::Button(int id) const { return RemoteButton(corvane_, Buttons(), IndexOf(id)); }

HWND CorvaneOnHost::Browser() const {
    const std::vector<HWND> windows = TopLevelWindowsOf(corvane_.Id(), "TForm2");
    return windows.empty() ? nullptr : windows.front();
}

HWND CorvaneOnHost::BrowserBar() const { return ::FindWindowExA(Browser(), nullptr, "ToolbarWindow32", nullptr); }

int CorvaneOnHost::BrowserButtonAt(int x) const {
    const int count = static_cast<int>(::SendMessageW(BrowserBar(), TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        if (!(BrowserButton(index).fsStyle & BTNS_SEP) && BrowserItemRect(index).left == x) return index;
    return -1;
}

RECT CorvaneOnHost::BrowserItemRect(int index) const { return RemoteItemRect(corvane_, BrowserBar(), index); }

TBBUTTON CorvaneOnHost::BrowserButton(int index) const { return RemoteButton(corvane_, BrowserBar(), index); }

void CorvaneOnHost::ClickBrowserItem(int index) const { ClickItemOf(BrowserBar(), BrowserItemRect(index)); }

POINT CorvaneOnHost::ItemCentre(int id) const {
    const RECT item = ItemRect(id);
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(Buttons(), &centre);
    return centre;
}

void CorvaneOnHost::ClickItem(int id) const { ClickAt(ItemCentre(id)); }

void CorvaneOnHost::FocusURL(int caret) const {
    RECT box{};
    ::GetWindowRect(URL(), &box);
    ClickAt(POINT{box.right - 4, (box.top + box.bottom) / 2});
    ::SendMessageW(URL(), EM_SETSEL, static_cast<WPARAM>(caret), caret);
}

std::string CorvaneOnHost::URLText() const { return WindowTextAnsi(URL()); }

int CorvaneOnHost::URLCaret() const {
    const LRESULT selection = ::SendMessageW(URL(), EM_GETSEL, 0, 0);
    return LOWORD(selection) == HIWORD(selection) ? LOWORD(selection) : -1;
}

std::vector<HWND> CorvaneOnHost::VisibleWindows(const char* className) const {
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindowsOf(corvane_.Id(), className))
        if (::IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

bool CorvaneOnHost::BrowserShown() const { return !VisibleWindows("TForm2").empty(); }

HWND CorvaneOnHost::WaitForBox(DWORD timeoutMs) const { return WaitForMessageBox(corvane_.Id(), timeoutMs); }

bool CorvaneOnHost::WaitForEnd(DWORD timeoutMs, bool quietly) const {
    bool boxSeen = false;
    const bool ended = WaitUntil(
        [&] {
            if (quietly && WaitForMessageBox(corvane_.Id(), 0)) boxSeen = true;
            return !corvane_.Running();
        },
        timeoutMs);
    if (boxSeen) Fail() << "Corvane showed a message box on its way out";
    return ended;
}

}  // namespace toolbartest
