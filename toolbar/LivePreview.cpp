#include "toolbar/LivePreview.h"

#include <windows.h>

#include <utility>

#include "hostlink/Kestrix.h"
#include "toolbar/Preview.h"
#include "toolbar/PreviewContent.h"
#include "toolkit/Application.h"
#include "toolkit/Text.h"

namespace toolbar {

namespace {

// One check's looks at the browser window, the host and the file system.
class Sight : public LiveSight {
public:
    explicit Sight(const browser::LiveView& window) : window_(window) {}

    bool WindowShows(const std::wstring& address) override { return IsAddressOf(window_.Address(), address); }
    std::wstring HostFileName() override {
        return toolkit::AnsiToWide(hostlink::GetHostFileName(hostlink::HostWindow));
    }
    std::string HostText() override { return hostlink::GetHostText(hostlink::HostWindow); }
    std::optional<FileStamp> StampOf(const std::wstring& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
        const auto wide = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
        return FileStamp{wide(data.nFileSizeHigh, data.nFileSizeLow),
                         wide(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    }

private:
    const browser::LiveView& window_;
};

}  // namespace

LivePreview::LivePreview(browser::LiveView& window, std::wstring bufferPath)
    : window_(&window), bufferPath_(std::move(bufferPath)), timer_(kCheckIntervalMs, [this] { Check(); }) {
    window_->SetLiveListener(this);
    Arm();
}

LivePreview::~LivePreview() {
    if (window_) window_->SetLiveListener(nullptr);
}

void LivePreview::ViewGone() {
    window_ = nullptr;
    follow_.Forget();
    Arm();
}

void LivePreview::PreviewedText(std::string text) {
    follow_.PreviewedText(bufferPath_, std::move(text));
    Arm();
}

void LivePreview::PreviewedFile(std::wstring path) {
    follow_.PreviewedFile(std::move(path));
    Arm();
}

// Costs nothing while there is nothing to see: off, hidden, or no preview to follow.
void LivePreview::Arm() { timer_.SetEnabled(window_ && follow_.Following() && window_->LiveOn() && window_->Showing()); }

void LivePreview::Check() {
    // Not under a box or menu of this program, such as the preview's own warning: the ticks go on
    // there, and what the box is about comes first. Nor under a dialog of the page, which a
    // reload would take away unanswered.
    if (!window_ || toolkit::App().ModalOpen() || window_->PageDialogOpen()) return;
    try {
        Sight sight(*window_);
        Carry(follow_.Check(sight));
    } catch (...) {
        // Stopped before the error box opens, so that the ticks under it do not fail again.
        follow_.Forget();
        Arm();
        throw;
    }
}

void LivePreview::Carry(const LiveAction& action) {
    switch (action.kind) {
    case LiveAction::Rewrite:
        toolbar::WriteFileWhole(bufferPath_, BufferContent(action.text));
        window_->Reload();
        break;
    case LiveAction::Reload:
        window_->Reload();
        break;
    case LiveAction::Open:
        window_->GoTo(action.address);
        break;
    case LiveAction::None:
        break;
    }
}

}  // namespace toolbar
