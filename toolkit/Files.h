#pragma once
// Whole-file reading and writing through the wide API, so that a file in a folder of any name is
// reached. Neither function throws: the caller decides what a failure means to the user.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// The first limit bytes of the file at path (all of a shorter file), or nothing when it cannot be
// opened or read (missing, a folder, locked without read sharing). Others may read, write and
// delete the file meanwhile: a save in progress elsewhere never blocks the read.
std::optional<std::string> ReadFileBytes(const std::wstring& path, std::size_t limit);

// What a look at a file tells without opening it: its size and last-write time.
struct FileStamp {
    unsigned long long size = 0;
    unsigned long long lastWrite = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> FileStampOf(const std::wstring& path);

// Replaces the file at path with content, whole: the content goes to a file of its own beside it
// first and takes the old file's place only once all of it is written, so a failure (a full disk,
// a locked or read-only file, a read-only folder, a path too long for the temporary name) leaves
// the earlier file as it was and no temporary file behind. False on failure.
bool ReplaceFileContent(const std::wstring& path, std::string_view content);

}  // namespace toolkit
