// Corvane's start end to end: which host window it serves, its refusal without one, one instance
// per host window and executable name, and its end with its host. Which host an instance serves
// shows in the name of its instance mutex.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/startup/MutexRace.h"
#include "tests/testbed/TestSupport.h"
#include "toolkit/Handles.h"

namespace {

using testsupport::CorvaneStart;
using testsupport::HostSim;
using testsupport::Process;

constexpr char kTagIni[] = "%Tags\r\n&<b></b>\r\n";
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 8000;

constexpr char kRefusalHead[] =
    "Kestrixの[ツール]から実行して下さい。\r\n\r\n\r\n"
    "[Corvane with Kestrix] v.1.121\r\n";

std::string InstanceName(const std::string& exeBaseName, std::uint32_t host) {
    return "Kestrix_ToolBar_Application_" + exeBaseName + "_" + std::to_string(host);
}

// Looked for by its ANSI name, as a build that named its mutex through the code page did.
bool MutexExists(const std::string& name) {
    const HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    if (!mutex) return false;
    ::CloseHandle(mutex);
    return true;
}

bool MutexExists(const std::wstring& name) {
    const toolkit::KernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
    return static_cast<bool>(mutex);
}

template <typename Name>
bool ServesUnder(const Process& corvane, const Name& mutexName) {
    return testsupport::WaitUntil([&] { return MutexExists(mutexName) || !corvane.Running(); }, kStartTimeoutMs) &&
           corvane.Running() && MutexExists(mutexName);
}

bool Serves(const Process& corvane, const std::string& exeBaseName, const HostSim& host) {
    return ServesUnder(corvane, InstanceName(exeBaseName, host.Handle32()));
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    std::vector<HWND> visible;
    for (HWND window : testsupport::TopLevelWindowsOf(processId))
        if (::IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

// A plain window of this test, in front, that is no host.
class ForeignWindow {
public:
    explicit ForeignWindow(const char* className) : className_(className) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className_;
        ::RegisterClassA(&windowClass);
        window_ = ::CreateWindowExA(0, className_, "not a host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;
    ~ForeignWindow() {
        if (window_) ::DestroyWindow(window_);
        ::UnregisterClassA(className_, ::GetModuleHandleA(nullptr));
    }
    HWND Handle() const { return window_; }
    std::uint32_t Handle32() const { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_)); }
    bool BringToFront() const {
        return testsupport::WaitUntil(
            [&] {
                ::SetForegroundWindow(window_);
                return ::GetForegroundWindow() == window_;
            },
            5000);
    }

private:
    const char* className_;
    HWND window_ = nullptr;
};

class StartupTest : public ::testing::Test {
protected:
    std::string Stage(const std::string& exeName = "Corvane.exe") {
        if (dir_.empty()) dir_ = testsupport::ScratchDir("startup-e2e");
        return testsupport::StageCorvane(dir_, kTagIni, exeName);
    }
    // A copy whose name the ANSI code page cannot hold, staged and started through the wide API.
    std::wstring StageWide(const std::wstring& exeName) {
        Stage();
        const std::wstring exe = testsupport::Utf8ToWide(dir_) + exeName;
        if (!::CopyFileW(testsupport::Utf8ToWide(testsupport::CorvaneExe()).c_str(), exe.c_str(), FALSE))
            ADD_FAILURE() << "cannot stage " << testsupport::WideToUtf8(exe);
        wideStaged_.push_back(exe);
        return exe;
    }
    void TearDown() override {
        for (Process& process : started_) process.Kill();
        started_.clear();
        // The ANSI clean-up cannot name these; an executable stays locked a moment after its end.
        for (const std::wstring& exe : wideStaged_)
            testsupport::WaitUntil(
                [&] { return ::DeleteFileW(exe.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND; }, 5000);
        if (!dir_.empty()) testsupport::RemoveTree(dir_);
    }
    Process& Keep(Process process) { return started_.emplace_back(std::move(process)); }

    // The refusal box: caption, exact text, then the process ends once it is dismissed.
    static void ExpectRefusal(const Process& corvane, const std::string& caption) {
        const HWND box = testsupport::WaitForMessageBox(corvane.Id(), kStartTimeoutMs);
        ASSERT_NE(box, nullptr) << "no refusal box";
        EXPECT_EQ(testsupport::WindowCaption(box), caption);
        const std::string text = testsupport::MessageBoxText(box);
        ASSERT_EQ(text.rfind(kRefusalHead, 0), 0u) << text;
        const std::string credits = text.substr(std::string(kRefusalHead).size());
        const size_t lineBreak = credits.find("\r\n");
        ASSERT_NE(lineBreak, std::string::npos) << "two credit lines expected: " << credits;
        EXPECT_GT(lineBreak, 0u);
        const std::string lastLine = credits.substr(lineBreak + 2);
        EXPECT_FALSE(lastLine.empty());
        EXPECT_EQ(lastLine.find_first_of("\r\n"), std::string::npos) << "more than two credit lines: " << credits;
        // The application's hidden window, which holds the toolbar's form, is never made.
        EXPECT_TRUE(testsupport::TopLevelWindowsOf(corvane.Id(), "TApplication").empty());
        EXPECT_TRUE(testsupport::TopLevelWindowsOf(corvane.Id(), "TForm2").empty());
        testsupport::PressMessageBoxButton(box);
        EXPECT_TRUE(corvane.WaitExit(kExitTimeoutMs)) << "still running after its refusal was dismissed";
    }

    std::string dir_;
    std::vector<std::wstring> wideStaged_;
    std::deque<Process> started_;  // references stay valid as it grows
};

// ----------------------------------------------------------------------------------------------
// Refusal

using StartupRefusal = StartupTest;

TEST_F(StartupRefusal, WithoutAHostInFrontTheBoxIsShownAndTheProgramEnds) {
    const std::string exe = Stage();
    ForeignWindow foreign("TStartupForeign");
    ASSERT_TRUE(foreign.BringToFront());
    Process& corvane = Keep(Process::Start(exe, ""));
    ExpectRefusal(corvane, "Corvane");
}

TEST_F(StartupRefusal, TheCaptionIsTheExecutablesNameWithoutItsExtension) {
    const std::string exe = Stage("My Corvane.v2.exe");
    ForeignWindow foreign("TStartupForeign");
    ASSERT_TRUE(foreign.BringToFront());
    Process& corvane = Keep(Process::Start(exe, ""));
    ExpectRefusal(corvane, "My Corvane.v2");
}

TEST_F(StartupRefusal, ASwitchNamingNoHostIsRefusedEvenWithAHostInFront) {
    const std::string exe = Stage();
    HostSim host = HostSim::Start();
    ForeignWindow foreign("TStartupForeign");
    std::uint32_t gone = 0;
    {
        ForeignWindow closed("TStartupClosed");
        gone = closed.Handle32();
    }
    for (const std::uint32_t handle : {foreign.Handle32(), gone}) {
        host.BringToFront();
        Process& corvane = Keep(testsupport::StartCorvane(exe, host, CorvaneStart::Foreground, "/w=" + std::to_string(handle)));
        ExpectRefusal(corvane, "Corvane");
        EXPECT_FALSE(MutexExists(InstanceName("Corvane", host.Handle32())));
    }
}

// ----------------------------------------------------------------------------------------------
// Which host is served

using StartupHostChoice = StartupTest;

TEST_F(StartupHostChoice, TheHostInFrontIsServed) {
    const std::string exe = Stage();
    HostSim host = HostSim::Start();
    Process& corvane = Keep(testsupport::StartCorvane(exe, host));
    EXPECT_TRUE(Serves(corvane, "Corvane", host));
    EXPECT_TRUE(VisibleWindowsOf(corvane.Id()).empty()) << "no top-level window of its own";
    // No taskbar button: the application's hidden window is a tool window and nothing else.
    std::vector<HWND> application;
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return !(application = testsupport::TopLevelWindowsOf(corvane.Id(), "TApplication")).empty(); },
        kStartTimeoutMs));
    ASSERT_EQ(application.size(), 1u);
    EXPECT_EQ(::GetWindowLongPtrW(application.front(), GWL_EXSTYLE), WS_EX_TOOLWINDOW);
    EXPECT_EQ(testsupport::WindowCaption(application.front()), "Corvane");
}

// The normal start: the host starts it with no arguments while its own window is in front.
TEST_F(StartupHostChoice, TheHostStartingItFromItsToolsMenuIsServed) {
    HostSim::Options options;
    options.corvane = Stage();
    options.startCorvane = true;
    HostSim host = HostSim::Start(options);
    const HWND planted = testsupport::WaitForWindow(
        [&]() -> HWND {
            for (HWND child = ::GetWindow(host.Toolbar(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(child, &owner);
                if (owner != host.Proc().Id()) return child;
            }
            return nullptr;
        },
        kStartTimeoutMs);
    ASSERT_NE(planted, nullptr);
    DWORD corvaneId = 0;
    ::GetWindowThreadProcessId(planted, &corvaneId);
    const toolkit::KernelHandle corvane(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, corvaneId));
    ASSERT_TRUE(corvane);
    EXPECT_TRUE(MutexExists(InstanceName("Corvane", host.Handle32())));
    ASSERT_TRUE(host.Close());
    if (::WaitForSingleObject(corvane.Get(), kExitTimeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "Corvane outlived its host";
        ::TerminateProcess(corvane.Get(), 99);
        ::WaitForSingleObject(corvane.Get(), 5000);
    }
}

TEST_F(StartupHostChoice, TheSwitchWinsOverTheHostInFrontInEitherCase) {
    const std::string exe = Stage();
    HostSim named = HostSim::Start();
    HostSim inFront = HostSim::Start();
    for (const char* prefix : {"/w=", "/W="}) {
        inFront.BringToFront();
        Process corvane = testsupport::StartCorvane(exe, inFront, CorvaneStart::Foreground,
                                                    prefix + std::to_string(named.Handle32()));
        EXPECT_TRUE(Serves(corvane, "Corvane", named)) << prefix;
        EXPECT_FALSE(MutexExists(InstanceName("Corvane", inFront.Handle32()))) << prefix;
    }
}

TEST_F(StartupHostChoice, ZeroOrNoDigitsKeepTheHostInFront) {
    const std::string exe = Stage();
    HostSim other = HostSim::Start();
    HostSim inFront = HostSim::Start();
    const std::string otherSwitch = "/w=" + std::to_string(other.Handle32());
    // "/w=abc" decides (as nothing) although a good value follows; "/w=" alone is passed over.
    const struct {
        std::string arguments;
        const HostSim* served;
    } cases[] = {{"/w=0", &inFront}, {"/w=xyz", &inFront}, {"/w=abc " + otherSwitch, &inFront}, {"/w= " + otherSwitch, &other}};
    for (const auto& c : cases) {
        Process corvane = testsupport::StartCorvane(exe, inFront, CorvaneStart::Foreground, c.arguments);
        EXPECT_TRUE(Serves(corvane, "Corvane", *c.served)) << c.arguments;
    }
}

// ----------------------------------------------------------------------------------------------
// One instance per host window and executable name

using StartupInstances = StartupTest;

TEST_F(StartupInstances, ASecondStartForTheSameHostEndsSilently) {
    const std::string exe = Stage();
    HostSim host = HostSim::Start();
    Process& first = Keep(testsupport::StartCorvane(exe, host));
    ASSERT_TRUE(Serves(first, "Corvane", host));

    Process& second = Keep(testsupport::StartCorvane(exe, host, CorvaneStart::WithHandle));
    bool showedWindow = false;
    const bool ended = testsupport::WaitUntil(
        [&] {
            showedWindow = showedWindow || !VisibleWindowsOf(second.Id()).empty();
            return !second.Running();
        },
        kExitTimeoutMs);
    EXPECT_TRUE(ended);
    EXPECT_FALSE(showedWindow);
    DWORD code = 1;
    EXPECT_TRUE(second.WaitExit(0, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(MutexExists(InstanceName("Corvane", host.Handle32())));
}

// Two starts at the same instant both find no mutex to open; the one whose creation comes second
// gets the other's mutex back and must end as silently as if its open had found it.
TEST_F(StartupInstances, TheLoserOfARaceForTheSameHostEndsSilently) {
    const std::string exe = Stage();
    HostSim host = HostSim::Start();
    startuptest::MutexRace race;
    ASSERT_TRUE(race.Run(exe, "/w=" + std::to_string(host.Handle32()), dir_,
                         testsupport::Utf8ToWide(InstanceName("Corvane", host.Handle32())), kStartTimeoutMs))
        << "the start never reached the creation of its instance mutex";
    DWORD code = 1;
    bool showedWindow = false;
    const bool ended = testsupport::WaitUntil(
        [&] {
            showedWindow = showedWindow || !VisibleWindowsOf(race.ProcessId()).empty();
            return ::WaitForSingleObject(race.Process(), 0) == WAIT_OBJECT_0;
        },
        kExitTimeoutMs);
    EXPECT_TRUE(ended) << "the loser of the race went on serving";
    EXPECT_FALSE(showedWindow);
    EXPECT_EQ(testsupport::FindPlantedToolbar(host, race.ProcessId()), nullptr);
    if (ended) {
        ::GetExitCodeProcess(race.Process(), &code);
        EXPECT_EQ(code, 0u);
    }
}

// Through the ANSI code page "¥" would become "\", and no mutex could be made of that name.
TEST_F(StartupInstances, AYenSignInTheExecutablesNameStillKeepsASecondStartOut) {
    const std::wstring exe = StageWide(L"Corvane¥.exe");
    HostSim host = HostSim::Start();
    const std::wstring handleSwitch = L"/w=" + std::to_wstring(host.Handle32());
    Process& first = Keep(Process::Start(exe, handleSwitch));
    ASSERT_TRUE(ServesUnder(first, L"Kestrix_ToolBar_Application_Corvane¥_" + std::to_wstring(host.Handle32())));
    EXPECT_NE(testsupport::WaitForPlantedToolbar(host, first.Id()), nullptr);

    Process& second = Keep(Process::Start(exe, handleSwitch));
    DWORD code = 1;
    EXPECT_TRUE(second.WaitExit(kExitTimeoutMs, &code)) << "a second instance serves the same host";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(testsupport::FindPlantedToolbar(host, second.Id()), nullptr);
    EXPECT_TRUE(first.Running());
}

TEST_F(StartupInstances, TwoHostsGetTwoInstances) {
    const std::string exe = Stage();
    HostSim one = HostSim::Start();
    HostSim two = HostSim::Start();
    Process& forOne = Keep(testsupport::StartCorvane(exe, one, CorvaneStart::WithHandle));
    Process& forTwo = Keep(testsupport::StartCorvane(exe, two, CorvaneStart::WithHandle));
    EXPECT_TRUE(Serves(forOne, "Corvane", one));
    EXPECT_TRUE(Serves(forTwo, "Corvane", two));
    testsupport::PumpFor(1500);  // past a watchdog round: both stay
    EXPECT_TRUE(forOne.Running());
    EXPECT_TRUE(forTwo.Running());
}

TEST_F(StartupInstances, ACopyUnderAnotherNameIsNotKeptOut) {
    const std::string exe = Stage();
    const std::string copy = Stage("Corvane2.exe");
    HostSim host = HostSim::Start();
    Process& original = Keep(testsupport::StartCorvane(exe, host, CorvaneStart::WithHandle));
    ASSERT_TRUE(Serves(original, "Corvane", host));
    Process& second = Keep(testsupport::StartCorvane(copy, host, CorvaneStart::WithHandle));
    EXPECT_TRUE(Serves(second, "Corvane2", host));
    EXPECT_TRUE(original.Running());
}

TEST_F(StartupInstances, TheHostCanBeServedAgainOnceItsInstanceIsGone) {
    const std::string exe = Stage();
    HostSim host = HostSim::Start();
    Process first = testsupport::StartCorvane(exe, host);
    ASSERT_TRUE(Serves(first, "Corvane", host));
    first.Kill();
    EXPECT_FALSE(MutexExists(InstanceName("Corvane", host.Handle32())));
    Process& again = Keep(testsupport::StartCorvane(exe, host));
    EXPECT_TRUE(Serves(again, "Corvane", host));
}

TEST_F(StartupInstances, TheInstanceEndsWhenItsHostCloses) {
    const std::string exe = Stage();
    HostSim host = HostSim::Start();
    const std::uint32_t handle = host.Handle32();
    Process& corvane = Keep(testsupport::StartCorvane(exe, host));
    ASSERT_TRUE(Serves(corvane, "Corvane", host));
    ASSERT_TRUE(host.Close());
    EXPECT_TRUE(corvane.WaitExit(kExitTimeoutMs));
    EXPECT_FALSE(MutexExists(InstanceName("Corvane", handle)));
}

// ----------------------------------------------------------------------------------------------
// Libraries loaded after planting

// Wine's loader told to refuse one library to the programs of one executable name (its per-program
// override in the registry), for the life of this object.
class LibraryRefused {
public:
    LibraryRefused(const std::string& exeName, const std::string& library) : key_(kAppDefaults + exeName) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), library.c_str(), REG_SZ, "", 1);
    }
    LibraryRefused(const LibraryRefused&) = delete;
    LibraryRefused& operator=(const LibraryRefused&) = delete;
    ~LibraryRefused() { ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

private:
    static constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\";
    std::string key_;
};

using StartupLateLibraries = StartupTest;

// The shell is first used by the set-up after planting, COM's automation types by the start after
// it: either missing, the toolbar has been planted, and the error names the library and ends the
// program instead of crashing it.
TEST_F(StartupLateLibraries, ALibraryThatCannotBeLoadedIsNamedAndTheProgramEnds) {
    HostSim host = HostSim::Start();
    for (const std::string library : {"shell32", "oleaut32"}) {
        SCOPED_TRACE(library);
        const std::string exeName = "CorvaneWithout" + library + ".exe";
        const std::string exe = Stage(exeName);
        const LibraryRefused refused(exeName, library);
        Process& corvane = Keep(testsupport::StartCorvane(exe, host));
        const HWND box = testsupport::WaitForMessageBox(corvane.Id(), kStartTimeoutMs);
        ASSERT_NE(box, nullptr) << "no error box";
        EXPECT_NE(testsupport::FindPlantedToolbar(host, corvane.Id()), nullptr) << "not planted before the error";
        EXPECT_EQ(testsupport::WindowCaption(box), "アプリケーション エラー");
        EXPECT_NE(testsupport::MessageBoxText(box).find(library + ".dll を読み込めません"), std::string::npos)
            << testsupport::MessageBoxText(box);
        testsupport::PressMessageBoxButton(box);
        DWORD exitCode = 0;
        EXPECT_TRUE(corvane.WaitExit(kExitTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 1u);
    }
}

}  // namespace
