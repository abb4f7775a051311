#pragma once
// Live preview: while the browser window's live button is pressed and the window is showing, the
// window follows the document that the last preview showed. A half-second timer runs only then;
// each tick makes one check (toolbar/core/LiveFollow.h decides) and carries out what it calls for.

#include <string>

#include "browser/LiveView.h"
#include "toolbar/core/LiveFollow.h"
#include "toolkit/Timer.h"

namespace toolbar {

class LivePreview final : private browser::LiveView::Listener {
public:
    static constexpr unsigned kCheckIntervalMs = 500;

    // Listens to window from now on and takes its live button as it is; Buffer.htm is at bufferPath.
    // Either may end first.
    LivePreview(browser::LiveView& window, std::wstring bufferPath);
    ~LivePreview();
    LivePreview(const LivePreview&) = delete;
    LivePreview& operator=(const LivePreview&) = delete;

    // The preview button wrote text into Buffer.htm and sent the window there, or sent it to the
    // document's own file.
    void PreviewedText(std::string text);
    void PreviewedFile(std::wstring path);

    // One check, as the timer makes it. A failure (Buffer.htm that cannot be written, a browser
    // that fails the reload) ends the following until the next preview and is thrown on.
    void Check();
    bool Checking() const noexcept { return timer_.Enabled(); }

private:
    void LiveSwitched() override { Arm(); }
    void ShowingChanged() override { Arm(); }
    void ViewGone() override;
    void Arm();
    void Carry(const LiveAction& action);

    browser::LiveView* window_;
    std::wstring bufferPath_;
    LiveFollow follow_;
    toolkit::Timer timer_;
};

}  // namespace toolbar
