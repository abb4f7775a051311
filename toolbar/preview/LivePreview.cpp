#include "toolbar/preview/LivePreview.h"

#include <windows.h>

#include <utility>

#include "hostlink/Kestrix.h"
#include "hostlink/core/HostProtocol.h"
#include "toolbar/preview/BufferFile.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Files.h"
#include "toolkit/Text.h"
#include "toolkit/core/FilePath.h"

namespace toolbar {

namespace {

// One check's looks at the browser window, the host and the file system; the folder watch lasts
// from check to check.
class Sight : public LiveSight {
public:
    Sight(const browser::LiveView& window, std::optional<toolkit::FolderWatch>& watch) : window_(window), watch_(watch) {}

    bool WindowShows(const std::wstring& address) override { return IsAddressOf(window_.Address(), address); }
    std::wstring HostFileName() override {
        return toolkit::AnsiToWide(hostlink::GetHostFileName(hostlink::HostWindow));
    }
    std::optional<std::string> HostText() override { return hostlink::ReadHostText(hostlink::HostWindow); }
    std::optional<FileStamp> StampOf(const std::wstring& path) override {
        const std::optional<toolkit::FileStamp> stamp = toolkit::FileStampOf(path);
        if (!stamp) return std::nullopt;
        return FileStamp{stamp->size, stamp->lastWrite};
    }

    bool FolderChanged(const std::wstring& path) override {
        const std::wstring folder = path.substr(0, toolkit::FolderLength(path));
        if (watch_ && watch_->Folder() == folder) return watch_->Changed();
        watch_.emplace(folder);
        return false;
    }
    std::optional<std::uint64_t> ContentHashOf(const std::wstring& path) override {
        const std::optional<std::string> bytes = toolkit::ReadFileBytes(path, static_cast<std::size_t>(hostlink::kMaxHostTextLength));
        return bytes ? std::optional<std::uint64_t>(ContentHash(*bytes)) : std::nullopt;
    }

private:
    const browser::LiveView& window_;
    std::optional<toolkit::FolderWatch>& watch_;
};

}  // namespace

LivePreview::LivePreview(browser::LiveView& window, BufferFile& buffer)
    : window_(&window), buffer_(&buffer), timer_(kCheckIntervalMs, [this] { Check(); }) {
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
    follow_.PreviewedText(buffer_->Path(), std::move(text));
    watch_.reset();
    Arm();
}

void LivePreview::PreviewedFile(std::wstring path) {
    follow_.PreviewedFile(std::move(path));
    Arm();
}

// Costs nothing while there is nothing to see: off, hidden, or no preview to follow.
void LivePreview::Arm() {
    timer_.SetEnabled(window_ && follow_.Following() && window_->LiveOn() && window_->Showing());
    if (!timer_.Enabled()) ShowProblem({});  // what is not followed has no problem to show
}

void LivePreview::Check() {
    // Not under a box or menu of this program, such as the preview's own warning: the ticks go on
    // there, and what the box is about comes first. Nor under a dialog of the page, which a
    // reload would take away unanswered.
    if (!window_ || toolkit::App().ModalOpen() || window_->PageDialogOpen()) return;
    // A box here would take the keys typed into the host: a failure is only shown, and tried again.
    try {
        Sight sight(*window_, watch_);
        const LiveAction action = follow_.Check(sight);
        try {
            Carry(action);
        } catch (...) {
            follow_.Failed();
            throw;
        }
        ShowProblem({});
    } catch (const std::exception& error) {
        ShowProblem(toolkit::MessageOf(error));
    }
}

void LivePreview::Carry(const LiveAction& action) {
    switch (action.kind) {
    case LiveAction::Rewrite:
        buffer_->Write(action.text);
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

void LivePreview::ShowProblem(const std::wstring& problem) {
    if (!window_ || (problem.empty() && !problemShown_)) return;
    window_->ShowLiveProblem(problem);
    problemShown_ = !problem.empty();
}

}  // namespace toolbar
