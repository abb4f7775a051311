#pragma once
// Whether anything in one folder has changed: a file's name, size or last-write time, as the
// system's change notifications report it. Asking costs no file system access.

#include <string>

#include "toolkit/Handles.h"

namespace toolkit {

class FolderWatch {
public:
    // Starts watching folder (its files, not its subfolders).
    explicit FolderWatch(std::wstring folder);

    const std::wstring& Folder() const noexcept { return folder_; }
    // True when a change arrived since the watch began or since the last call, and always when the
    // folder cannot be watched (missing, or a file system without notifications).
    bool Changed();

private:
    std::wstring folder_;
    ChangeNotification change_;
};

}  // namespace toolkit
