#include "toolkit/FolderWatch.h"

#include <utility>

namespace toolkit {

namespace {

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

}  // namespace

FolderWatch::FolderWatch(std::wstring folder)
    : folder_(std::move(folder)), change_(::FindFirstChangeNotificationW(folder_.c_str(), FALSE, kChanges)) {}

bool FolderWatch::Changed() {
    if (!change_) return true;
    if (::WaitForSingleObject(change_.Get(), 0) != WAIT_OBJECT_0) return false;
    // Armed again for the next change; one that cannot be armed is taken as changing all the time.
    if (!::FindNextChangeNotification(change_.Get())) change_.Reset();
    return true;
}

}  // namespace toolkit
