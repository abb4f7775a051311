#pragma once
// Live preview: while it is on and the browser window is showing, the window follows the document
// that the last preview showed. A half-second timer runs only then; each tick makes one check
// (toolbar/core/LiveFollow.h decides) and carries out what it calls for.

#include <memory>
#include <string>

#include "toolbar/core/LiveFollow.h"
#include "toolkit/Timer.h"

namespace toolbar {

// What live preview needs of the browser window.
class LiveWindow {
public:
    virtual ~LiveWindow() = default;
    virtual bool Showing() const = 0;          // visible, and not minimised
    virtual std::wstring Address() const = 0;  // the page's address as the browser reports it
    virtual void Reload() = 0;                 // the page again, where the reader is in it
    virtual void Open(const std::string& path) = 0;
};

class LivePreview {
public:
    static constexpr unsigned kCheckIntervalMs = 500;

    // window must outlive the object; Buffer.htm is at bufferPath.
    LivePreview(LiveWindow& window, std::string bufferPath);

    // The live button.
    void SetOn(bool on);
    bool On() const noexcept { return on_; }
    // The window was shown, hidden, minimised or restored.
    void WindowShowingChanged();

    // The preview button wrote text into Buffer.htm and sent the window there, or sent it to the
    // document's own file.
    void PreviewedText(std::string text);
    void PreviewedFile(std::string path);

    // One check, as the timer makes it. A failure (Buffer.htm that cannot be written, a browser
    // that fails the reload) ends the following until the next preview and is thrown on.
    void Check();
    bool Checking() const noexcept { return timer_.Enabled(); }

private:
    void Arm();
    void Carry(const LiveAction& action);

    LiveWindow& window_;
    std::string bufferPath_;
    LiveFollow follow_;
    bool on_ = false;
    toolkit::Timer timer_;
};

}  // namespace toolbar
