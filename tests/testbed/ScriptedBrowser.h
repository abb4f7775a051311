#pragma once
// A scripted stand-in for the system's web browser control, for tests that need to see where a
// separate Corvane process sent its browser window.
//
// For the life of a ScriptedBrowserRegistration, the web browser control's class identifier
// {8856F961-340A-11D0-A96B-00C04FD705A2} is served by scriptedbrowser.dll (built with the tests)
// in this Wine prefix, and every Corvane started from this process (which inherits the
// environment variable below) creates the stand-in instead of the real control. The stand-in
// appends each method call it receives to a log file that this object reads.
//
// What the stand-in does, so that tests can rely on it:
//   Navigate(url)  logs "Navigate <url>", then, from the message loop a moment later, sets
//                  LocationURL to url and LocationName to "Scripted: " + url, pushes url on its
//                  history, fires CommandStateChange for back (2) and forward (1) with the
//                  history's state and then NavigateComplete2. Any address is accepted.
//   GoBack / GoForward  log "GoBack" / "GoForward"; with nowhere to go they fail with E_FAIL and
//                  an error description "Scripted: no page in that direction"; otherwise they
//                  step through the history as Navigate does (same events).
//   Refresh / Stop log "Refresh" / "Stop". Busy is always false, Document is present from the
//                  first navigation on.
// Property reads are not logged.
//
// The class is registered for this user where COM honours that; Wine's COM reads only the
// machine's classes, so there the machine's registration is replaced and put back afterwards
// (a registration left behind by a test that died is mended by the next one). Either way every
// process in the prefix that creates the control meanwhile gets the stand-in: only one
// registration may exist at a time, and the tests that use it are DESKTOP tests.

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The environment variable naming the call log; set in this process while a registration exists.
inline constexpr char kScriptedBrowserLogVariable[] = "CORVANE_SCRIPTED_BROWSER_LOG";

class ScriptedBrowserRegistration {
public:
    // Registers the stand-in and starts an empty log. Reports a failure (Failure.h) when
    // the registration cannot be made.
    ScriptedBrowserRegistration();
    // Puts the class's original registration back and removes the log.
    ~ScriptedBrowserRegistration();
    ScriptedBrowserRegistration(const ScriptedBrowserRegistration&) = delete;
    ScriptedBrowserRegistration& operator=(const ScriptedBrowserRegistration&) = delete;

    // Every logged method call, in order, from every process, as UTF-8 lines:
    // "Navigate <url>", "GoBack", "GoForward", "Refresh", "Stop".
    std::vector<std::string> Calls() const;
    // The addresses handed to Navigate, in order, as UTF-8, each exactly as received.
    std::vector<std::string> NavigatedUrls() const;
    // How many stand-in control objects have been created so far (any process).
    int ObjectsCreated() const;

    // Pumps this thread's messages until at least count addresses have been navigated to, or the
    // time is up; returns NavigatedUrls() either way.
    std::vector<std::string> WaitForNavigatedUrls(size_t count, DWORD timeoutMs) const;
    // Forgets everything logged so far.
    void ClearLog();

    // The log file's Windows path.
    const std::string& LogPath() const noexcept { return logPath_; }

private:
    std::vector<std::string> LogLines() const;

    std::string logPath_;
    std::string previousLogVariable_;
    bool hadLogVariable_ = false;
    bool registered_ = false;
    bool machineWide_ = false;
};

}  // namespace testsupport
