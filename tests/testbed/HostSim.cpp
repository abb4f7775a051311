#include "tests/testbed/HostSim.h"

#include "tests/testbed/Failure.h"

#include <sstream>
#include <utility>

namespace testsupport {

namespace {

constexpr DWORD kMainWindowTimeoutMs = 20000;  // the first start of a fresh Wine bed is slow
constexpr DWORD kForegroundTimeoutMs = 5000;

std::string Quoted(const std::string& option, const std::string& value) {
    std::string quoted(1, '"');
    quoted += option;
    quoted += value;
    quoted += '"';
    return quoted;
}

HWND FindMainWindow(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId, "TKestrixMainForm"))
        if (::IsWindowVisible(window)) return window;
    return nullptr;
}

std::string ModuleFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Appends " /name=value" (quoted, so that a value may hold blanks) or " /name" to a command line.
class Arguments {
public:
    void Add(const std::string& name, const std::string& value) { Append(Quoted("/" + name + "=", value)); }
    void Add(const std::string& name, int value) { Append("/" + name + "=" + std::to_string(value)); }
    void Flag(const std::string& name) { Append("/" + name); }
    void Append(const std::string& text) {
        if (!line_.empty()) line_ += ' ';
        line_ += text;
    }
    const std::string& Line() const { return line_; }

private:
    std::string line_;
};

std::string BuildArguments(const HostSim::Options& options, const std::string& dir, const std::string& ini,
                           const std::string& log) {
    Arguments args;
    args.Add("log", log);
    args.Add("ini", ini);
    if (options.layout != 0) args.Add("layout", options.layout);
    if (options.hasText || !options.text.empty()) {
        const std::string textFile = dir + "initial-text.txt";
        WriteFileBytes(textFile, options.text);
        args.Add("textfile", textFile);
    }
    if (!options.fileName.empty()) args.Add("filename", options.fileName);
    if (options.modified) args.Add("modified", 1);
    if (options.hideToolbarAfterMs >= 0) args.Add("hidetoolbar", options.hideToolbarAfterMs);
    if (options.showToolbarAfterMs >= 0) args.Add("showtoolbar", options.showToolbarAfterMs);
    if (options.destroyToolbarAfterMs >= 0) args.Add("destroytoolbar", options.destroyToolbarAfterMs);
    if (options.noToolbar) args.Flag("notoolbar");
    if (!options.corvane.empty()) args.Add("corvane", options.corvane);
    if (options.startCorvane) args.Flag("startcorvane");
    if (!options.extraArgs.empty()) args.Append(options.extraArgs);
    // As the companion program passes a file: unquoted, blanks and all.
    if (!options.openFile.empty()) args.Append(options.openFile);
    return args.Line();
}

HostMessage ParseLogLine(const std::string& line) {
    HostMessage message;
    std::istringstream fields(line);
    std::string id, detail;
    fields >> id >> message.wParam >> message.lParam >> detail;
    message.id = static_cast<unsigned>(std::stoul(id, nullptr, 16));
    if (message.id == 0x819B && !detail.empty() && detail[0] != '!') {
        message.blockRead = true;
        for (size_t i = 0; i + 1 < detail.size(); i += 2)
            message.block.push_back(static_cast<char>(std::stoi(detail.substr(i, 2), nullptr, 16)));
    }
    return message;
}

}  // namespace

HostSim HostSim::Start(const Options& options) {
    static int started = 0;
    HostSim host;
    host.dir_ = ScratchDir("hostsim-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++started));
    host.ini_ = options.ini.empty() ? host.dir_ + "hostsim.ini" : options.ini;
    host.log_ = host.dir_ + "messages.log";
    if (!options.iniText.empty()) WriteFileBytes(host.ini_, options.iniText);

    host.process_ = Process::Start(HostsimExe(), BuildArguments(options, host.dir_, host.ini_, host.log_));
    if (!host.process_.Handle()) return host;
    const DWORD processId = host.process_.Id();
    host.main_ = WaitForWindow([&] { return FindMainWindow(processId); }, kMainWindowTimeoutMs);
    if (!host.main_) {
        Fail() << "hostsim showed no main window";
        return host;
    }
    host.BringToFront();
    return host;
}

HostSim::HostSim(HostSim&& other) noexcept
    : process_(std::move(other.process_)),
      main_(std::exchange(other.main_, nullptr)),
      dir_(std::exchange(other.dir_, {})),
      ini_(std::exchange(other.ini_, {})),
      log_(std::exchange(other.log_, {})) {}

HostSim& HostSim::operator=(HostSim&& other) noexcept {
    if (this != &other) {
        process_.Kill();
        if (!dir_.empty()) RemoveTree(dir_);
        process_ = std::move(other.process_);
        main_ = std::exchange(other.main_, nullptr);
        dir_ = std::exchange(other.dir_, {});
        ini_ = std::exchange(other.ini_, {});
        log_ = std::exchange(other.log_, {});
    }
    return *this;
}

HostSim::~HostSim() {
    process_.Kill();
    if (!dir_.empty()) RemoveTree(dir_);
}

HWND HostSim::Toolbar() const { return main_ ? ::FindWindowExA(main_, nullptr, "TToolbar", nullptr) : nullptr; }
// Found by class, not through 0x8192, so that looking does not show up among the messages.
HWND HostSim::Memo() const { return main_ ? ::FindWindowExA(main_, nullptr, "Edit", nullptr) : nullptr; }
HWND HostSim::FileNameEdit() const { return main_ ? ::FindWindowExA(main_, nullptr, "TEdit", nullptr) : nullptr; }

std::vector<HostMessage> HostSim::Messages() const {
    std::vector<HostMessage> messages;
    std::istringstream lines(ReadFileBytes(log_));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        try {
            messages.push_back(ParseLogLine(line));
        } catch (const std::exception&) {
            Fail() << "unreadable line in hostsim's log: " << line;
        }
    }
    return messages;
}

std::vector<HostMessage> HostSim::MessagesWithId(unsigned id) const {
    std::vector<HostMessage> selected;
    for (HostMessage& message : Messages())
        if (message.id == id) selected.push_back(std::move(message));
    return selected;
}

std::string HostSim::Text() const {
    const HWND memo = Memo();
    if (!memo) return {};
    const LRESULT length = ::SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const LRESULT n = ::SendMessageA(memo, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

bool HostSim::Modified() const { return ::SendMessageA(Memo(), EM_GETMODIFY, 0, 0) != 0; }
std::string HostSim::FileName() const { return WindowTextAnsi(FileNameEdit()); }

void HostSim::BringToFront() const {
    if (!main_) return;
    const bool inFront = WaitUntil(
        [&] {
            if (::GetForegroundWindow() == main_) return true;
            ::SendMessageA(main_, hostsim::kBringToFront, 0, 0);
            ::SetForegroundWindow(main_);
            return ::GetForegroundWindow() == main_;
        },
        kForegroundTimeoutMs);
    if (!inFront) Fail() << "hostsim's window did not come to the foreground";
}

void HostSim::HideToolbar() const { ::SendMessageA(main_, hostsim::kHideToolbar, 0, 0); }
void HostSim::ShowToolbar() const { ::SendMessageA(main_, hostsim::kShowToolbar, 0, 0); }
void HostSim::DestroyToolbar() const { ::SendMessageA(main_, hostsim::kDestroyToolbar, 0, 0); }

void HostSim::SetLayout(int answer) const {
    ::SendMessageA(main_, hostsim::kSetLayout, static_cast<WPARAM>(static_cast<INT_PTR>(answer)), 0);
}

void HostSim::SetText(const std::string& ansi) const {
    ::SendMessageA(Memo(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
    ::SendMessageA(Memo(), EM_SETMODIFY, FALSE, 0);
}

void HostSim::SetModified(bool modified) const { ::SendMessageA(main_, hostsim::kSetModified, modified ? 1 : 0, 0); }

void HostSim::SetFileName(const std::string& ansi) const {
    ::SendMessageA(FileNameEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
}

bool HostSim::Close(DWORD timeoutMs) {
    if (!process_.Running()) return true;
    ::PostMessageA(main_, WM_CLOSE, 0, 0);
    return process_.WaitExit(timeoutMs);
}

Process StartCorvane(const std::string& stagedExe, const HostSim& host, CorvaneStart how, const std::string& extraArgs) {
    std::string args;
    if (how == CorvaneStart::Foreground)
        host.BringToFront();
    else
        args = "/w=" + std::to_string(host.Handle32());
    if (!extraArgs.empty()) {
        if (!args.empty()) args += ' ';
        args += extraArgs;
    }
    return Process::Start(stagedExe, args, ModuleFolderOf(stagedExe));
}

HWND FindPlantedToolbar(const HostSim& host, DWORD corvaneProcessId) {
    const HWND toolbar = host.Toolbar();
    if (!toolbar) return nullptr;
    for (HWND child = ::GetWindow(toolbar, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(child, &owner);
        if (owner == corvaneProcessId) return child;
    }
    return nullptr;
}

HWND WaitForPlantedToolbar(const HostSim& host, DWORD corvaneProcessId, DWORD timeoutMs, bool mustBeVisible) {
    return WaitForWindow(
        [&]() -> HWND {
            const HWND planted = FindPlantedToolbar(host, corvaneProcessId);
            return planted && (!mustBeVisible || ::IsWindowVisible(planted)) ? planted : nullptr;
        },
        timeoutMs);
}

}  // namespace testsupport
