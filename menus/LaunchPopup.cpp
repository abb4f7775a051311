#include "menus/LaunchPopup.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>

#include "menus/core/LaunchNames.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Window.h"

namespace menus {

namespace {

constexpr int kFirstFileTag = 1000;

using Clock = std::chrono::steady_clock;
// The longest the menu's thread spends on one slice of a handed-over tree.
constexpr auto kSliceTime = std::chrono::milliseconds(8);
// Progress is reported at most this often.
constexpr auto kProgressInterval = std::chrono::milliseconds(100);
// How long destroying the menu waits for a stopped walk to end, in milliseconds. A walk held up
// inside the file system (a share that does not answer) is left to end by itself: it touches
// nothing of the menu.
constexpr DWORD kStopWaitMs = 2000;

// Messages from a load to the menu's thread; wParam is the load's number.
constexpr UINT kListedMessage = WM_APP + 1;
constexpr UINT kWalkedMessage = WM_APP + 2;
constexpr UINT kAttachMessage = WM_APP + 3;

}  // namespace

// Turns a walked tree into menu items, in slices. The items grow under a root of their own and
// reach the menu only when all are built, so an open menu never shows half a tree.
class TLaunchPopup::Builder {
public:
    Builder(TLaunchPopup& owner, WalkedTree& tree) : owner_(owner), tree_(tree) {
        levels_.push_back(Level{&tree.root, 0, tree.root.files, &root_});
        fileItems_.reserve(tree.files.Count());
    }

    // Builds items until all are built (true) or the deadline has passed (false).
    bool Step(Clock::time_point deadline) {
        for (unsigned built = 1; !levels_.empty(); ++built) {
            Level& level = levels_.back();
            toolkit::TMenuItem& parent = *level.parent;
            if (level.nextFolder < level.folder->folders.size()) {
                WalkedFolder& folder = level.folder->folders[level.nextFolder++];
                toolkit::TMenuItem& item = parent.Add(std::make_unique<toolkit::TMenuItem>(std::move(folder.name)));
                if (!folder.folders.empty() || folder.files > 0) levels_.push_back(Level{&folder, 0, folder.files, &item});
            } else if (level.filesLeft > 0) {
                --level.filesLeft;
                AddFileItem(parent);
            } else {
                // Freed as it is used up, so that no slice at the end has the whole tree to free.
                std::vector<WalkedFolder>().swap(level.folder->folders);
                levels_.pop_back();
                continue;
            }
            if (built % 128 == 0 && Clock::now() >= deadline) return levels_.empty();
        }
        return true;
    }

    toolkit::TMenuItem& Root() noexcept { return root_; }
    const std::vector<toolkit::TMenuItem*>& FileItems() const noexcept { return fileItems_; }

private:
    struct Level {
        WalkedFolder* folder;
        size_t nextFolder;
        std::int32_t filesLeft;
        toolkit::TMenuItem* parent;
    };

    // The files come in the order of their numbers: the next one is file number fileItems_.size().
    void AddFileItem(toolkit::TMenuItem& parent) {
        const size_t number = fileItems_.size();
        auto item = std::make_unique<toolkit::TMenuItem>(CaptionForFile(tree_.files.Name(number)));
        item->SetTag(kFirstFileTag + static_cast<int>(number));
        item->SetImageIndex(-1);
        item->SetOnClick([owner = &owner_](toolkit::TMenuItem& chosen) { owner->ItemClick(chosen); });
        fileItems_.push_back(&parent.Add(std::move(item)));
    }

    TLaunchPopup& owner_;
    const WalkedTree& tree_;
    toolkit::TMenuItem root_;
    std::vector<Level> levels_;
    std::vector<toolkit::TMenuItem*> fileItems_;
};

// A load on a thread of its own. The thread shares only State with the menu: the request, the
// flags and the walked tree; it posts to the menu's load window and never touches the menu. It is
// a plain system thread, waited for through its handle: the C++ library's threads would bring
// their own thread runtime into the program for this one thread.
class TLaunchPopup::BackgroundLoad {
public:
    struct State {
        WalkRequest request;
        HWND window = nullptr;
        WPARAM number = 0;
        std::atomic<bool> stop{false};
        std::atomic<std::int32_t> listed{0};
        std::atomic<bool> listedPosted{false};
        WalkedTree tree;
    };

    BackgroundLoad(WalkRequest request, HWND window, WPARAM number) : state_(std::make_shared<State>()) {
        state_->request = std::move(request);
        state_->window = window;
        state_->number = number;
        // The thread holds the state too, so that a walk left to end by itself still has it.
        auto held = std::make_unique<std::shared_ptr<State>>(state_);
        worker_.Reset(::CreateThread(nullptr, 0, &Walk, held.get(), 0, nullptr));
        if (!worker_) throw toolkit::Error(L"お気に入りを読み込むスレッドを作成できません");
        held.release();  // the thread's now
    }
    ~BackgroundLoad() {
        state_->stop.store(true);
        // Not ended within the wait: closing the handle leaves the thread to end by itself.
        if (worker_) ::WaitForSingleObject(worker_.Get(), kStopWaitMs);
    }
    BackgroundLoad(const BackgroundLoad&) = delete;
    BackgroundLoad& operator=(const BackgroundLoad&) = delete;

    State& Shared() noexcept { return *state_; }

    // The walk has ended (its message has come): the thread is about to return.
    void Walked(TLaunchPopup& owner) {
        if (worker_) ::WaitForSingleObject(worker_.Get(), INFINITE);
        worker_.Reset();
        builder_ = std::make_unique<Builder>(owner, state_->tree);
    }
    Builder* Building() noexcept { return builder_.get(); }

private:
    static DWORD WINAPI Walk(void* parameter) {
        const std::unique_ptr<std::shared_ptr<State>> held(static_cast<std::shared_ptr<State>*>(parameter));
        State& state = **held;
        // The shell's icon handlers are objects of the component library.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Clock::time_point lastReport = Clock::now();
        const std::function<void()> onListed = [&] {
            if (state.listedPosted.load()) return;
            if (const Clock::time_point now = Clock::now(); now - lastReport >= kProgressInterval) {
                lastReport = now;
                state.listedPosted.store(true);
                ::PostMessageW(state.window, kListedMessage, state.number, 0);
            }
        };
        try {
            state.tree = WalkFolderTree(state.request, state.stop, state.listed, onListed);
        } catch (...) {
            state.tree = WalkedTree{};  // out of memory: the load lists nothing
        }
        if (SUCCEEDED(com)) ::CoUninitialize();
        if (!state.stop.load()) ::PostMessageW(state.window, kWalkedMessage, state.number, 0);
        return 0;
    }

    std::shared_ptr<State> state_;
    toolkit::KernelHandle worker_;
    std::unique_ptr<Builder> builder_;
};

// The window that a load's messages come to, on the menu's thread.
class TLaunchPopup::LoadWindow : public toolkit::Window {
public:
    explicit LoadWindow(TLaunchPopup& owner) : owner_(owner) {
        toolkit::WindowPlacement placement;
        placement.parent = HWND_MESSAGE;
        CreateWindowObject(toolkit::WindowClass{L"TLaunchPopupLoad"}, L"", placement);
    }
    ~LoadWindow() override { DestroyWindowObject(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kListedMessage || message == kWalkedMessage || message == kAttachMessage) {
            owner_.OnLoadMessage(message, wParam);
            return 0;
        }
        return Default(message, wParam, lParam);
    }

    TLaunchPopup& owner_;
};

TLaunchPopup::TLaunchPopup() = default;

TLaunchPopup::~TLaunchPopup() {
    background_.reset();  // stops the walk before the window its messages go to
    loadWindow_.reset();
}

WalkRequest TLaunchPopup::Request() const {
    WalkRequest request;
    request.directory = directory_;
    request.mask = mask_;
    request.searchDirectory = searchDirectory_;
    if (const toolkit::TImageList* images = Images()) {
        request.withIcons = true;
        request.iconWidth = images->Width();
        request.iconHeight = images->Height();
    }
    request.shareImages = shareImages_;
    request.beforeFolder = onListFolder_;
    return request;
}

void TLaunchPopup::LoadItems() {
    if (Loading()) return;
    const std::atomic<bool> neverStop{false};
    std::atomic<std::int32_t> listed{0};
    WalkedTree tree = WalkFolderTree(Request(), neverStop, listed, {});
    Builder builder(*this, tree);
    builder.Step(Clock::time_point::max());
    FinishLoad(std::move(tree), builder);
}

bool TLaunchPopup::BeginLoadItems() {
    if (Loading()) return false;
    if (!loadWindow_) loadWindow_ = std::make_unique<LoadWindow>(*this);
    background_ = std::make_unique<BackgroundLoad>(Request(), loadWindow_->Handle(), ++loadNumber_);
    return true;
}

bool TLaunchPopup::Loading() const noexcept { return background_ != nullptr; }

const std::vector<std::wstring>& TLaunchPopup::FileList() const {
    if (!fileListMade_) {
        fileList_.reserve(files_.Count());
        for (size_t file = 0; file < files_.Count(); ++file) fileList_.push_back(files_.Path(file));
        fileListMade_ = true;
    }
    return fileList_;
}

std::int32_t TLaunchPopup::ListedSoFar() const noexcept {
    return background_ ? background_->Shared().listed.load() : 0;
}

void TLaunchPopup::OnLoadMessage(UINT message, WPARAM number) {
    if (!background_ || number != loadNumber_) return;  // from a load that has ended
    BackgroundLoad& load = *background_;
    if (message == kListedMessage) {
        load.Shared().listedPosted.store(false);
        Notify(onLoadProgress_);
        return;
    }
    if (message == kWalkedMessage) load.Walked(*this);
    Builder* const builder = load.Building();
    if (!builder) return;
    if (!builder->Step(Clock::now() + kSliceTime)) {
        ::PostMessageW(loadWindow_->Handle(), kAttachMessage, number, 0);
        return;
    }
    // The load is over before its items reach the menu: a handler of OnLoaded may start the next.
    const std::unique_ptr<BackgroundLoad> ended = std::move(background_);
    FinishLoad(std::move(ended->Shared().tree), *builder);
}

void TLaunchPopup::FinishLoad(WalkedTree tree, Builder& builder) {
    if (tree.listed) {
        RemovePreviousLoad();
        toolkit::TImageList* const images = Images();
        loaded_ = true;
        firstGeneratedItem_ = Items().Count();
        imagesOfLoad_ = images;
        firstGeneratedImage_ = images ? images->Count() : 0;
        itemCount_ = static_cast<std::int32_t>(tree.files.Count());
        files_ = std::move(tree.files);
        fileList_.clear();
        fileListMade_ = false;
        if (images && tree.icons) {
            const std::vector<int> imageOfFile = tree.icons->AppendTo(*images);
            const std::vector<toolkit::TMenuItem*>& items = builder.FileItems();
            for (size_t i = 0; i < items.size() && i < imageOfFile.size(); ++i) items[i]->SetImageIndex(imageOfFile[i]);
        }
        Items().AdoptChildrenOf(builder.Root());
    }
    Notify(onLoaded_);
}

void TLaunchPopup::Notify(const TLPNotifyEvent& event) {
    if (!event) return;
    const TLPNotifyEvent handler = event;  // the handler may replace itself
    handler(*this);
}

void TLaunchPopup::RemovePreviousLoad() {
    if (!loaded_) return;
    Items().DeleteFrom(firstGeneratedItem_);
    if (imagesOfLoad_ && imagesOfLoad_ == Images()) imagesOfLoad_->RemoveFrom(firstGeneratedImage_);
    loaded_ = false;
}

void TLaunchPopup::ItemClick(toolkit::TMenuItem& item) {
    const long long number = static_cast<long long>(item.Tag()) - kFirstFileTag;
    if (number < 0 || number >= static_cast<long long>(files_.Count())) return;
    const auto index = static_cast<size_t>(number);
    const std::wstring path = files_.Path(index);
    if (onItemClick_) {
        selectedFile_ = path;
        Notify(onItemClick_);
        return;
    }
    const std::wstring folder = files_.Folder(index);
    const HWND owner = OwnerWindow() ? OwnerWindow() : toolkit::App().Handle();
    ::ShellExecuteW(owner, nullptr, path.c_str(), L"", folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace menus
