#pragma once
// Live preview: while the browser window's live button is pressed and the window is showing, the
// window follows the document that the last preview showed. A half-second timer runs only then;
// each tick makes one check (toolbar/preview/core/LiveFollow.h decides) and carries out what it calls for.

#include <optional>
#include <string>

#include "browser/LiveView.h"
#include "toolbar/preview/core/LiveFollow.h"
#include "toolkit/FolderWatch.h"
#include "toolkit/Timer.h"

namespace toolbar {

class BufferFile;

class LivePreview final : private browser::LiveView::Listener {
public:
    static constexpr unsigned kCheckIntervalMs = 500;

    // Listens to window from now on and takes its live button as it is; an unsaved document is
    // written into buffer, which outlives it. The window may end first.
    LivePreview(browser::LiveView& window, BufferFile& buffer);
    ~LivePreview();
    LivePreview(const LivePreview&) = delete;
    LivePreview& operator=(const LivePreview&) = delete;

    // The preview button wrote text into Buffer.htm and sent the window there, or sent it to the
    // document's own file.
    void PreviewedText(std::string text);
    void PreviewedFile(std::wstring path);

    // One check, as the timer makes it. It never opens a box: a failure (a buffer file that cannot
    // be written, a browser that fails the reload) is shown quietly in the window and what failed
    // is tried again at the next check; a check that succeeds clears it.
    void Check();
    bool Checking() const noexcept { return timer_.Enabled(); }

private:
    void LiveSwitched() override { Arm(); }
    void ShowingChanged() override { Arm(); }
    void ViewGone() override;
    void Arm();
    void Carry(const LiveAction& action);
    void ShowProblem(const std::wstring& problem);

    browser::LiveView* window_;
    BufferFile* buffer_;
    LiveFollow follow_;
    std::optional<toolkit::FolderWatch> watch_;  // the followed file's folder
    bool problemShown_ = false;
    toolkit::Timer timer_;
};

}  // namespace toolbar
