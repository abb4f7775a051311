#pragma once
// Paths and whole-file reads and writes for the stand-in editor.

#include <optional>
#include <string>

namespace hostsim {

std::wstring ModulePath();
// The folder part of path with its trailing separator; empty when there is none.
std::wstring FolderOf(const std::wstring& path);
// path made absolute; path itself when the system cannot.
std::wstring FullPath(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Every byte of the file, or nothing when it cannot be read (or is 2 GB or more).
std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace hostsim
