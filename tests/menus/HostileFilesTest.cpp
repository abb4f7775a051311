// Tag.ini and the program's own files as a messy desktop leaves them: huge, broken, locked, in a
// folder whose name the ANSI code page cannot hold. Each gives a working result or the clear
// error, and a failed replacement leaves the old file and nothing else.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/testbed/TestSupport.h"
#include "menus/TagMenu.h"
#include "toolkit/Error.h"
#include "toolkit/Files.h"
#include "toolkit/Handles.h"

namespace {

using testsupport::Utf8ToWide;
using testsupport::WideToUtf8;

// A scratch folder named in letters of several scripts, "¥" among them, reached only through
// the wide API; removed with the object.
class WideFolder {
public:
    WideFolder() : root_(Utf8ToWide(testsupport::ScratchDir("menus hostile files"))) {
        path_ = root_ + L"café 한국 简体 ¥\\";
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~WideFolder() {
        for (const std::wstring& name : Names()) {
            ::SetFileAttributesW((path_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!::DeleteFileW((path_ + name).c_str())) ::RemoveDirectoryW((path_ + name).c_str());
        }
        ::RemoveDirectoryW(path_.c_str());
        testsupport::RemoveTree(WideToUtf8(root_));
    }
    WideFolder(const WideFolder&) = delete;
    WideFolder& operator=(const WideFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    void Write(const std::wstring& name, std::string_view bytes) const {
        ASSERT_TRUE(toolkit::ReplaceFileContent(path_ + name, bytes)) << WideToUtf8(name);
    }
    std::string Read(const std::wstring& name) const {
        return toolkit::ReadFileBytes(path_ + name, 1u << 30).value_or("<unreadable>");
    }
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry{};
        const HANDLE find = ::FindFirstFileW((path_ + L"*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if (std::wstring_view(entry.cFileName) != L"." && std::wstring_view(entry.cFileName) != L"..")
                names.push_back(entry.cFileName);
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
        return names;
    }

private:
    std::wstring root_;
    std::wstring path_;
};

// Opens a file as another program may: for reading, sharing nothing.
toolkit::FileHandle LockWithoutSharing(const std::wstring& path) {
    return toolkit::FileHandle{
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
}

std::string OpenError(const std::wstring& path) { return "ファイル " + WideToUtf8(path) + " は開けません"; }

// Each shape of Tag.ini is a test of its own, so that no run of them all comes near the time limit
// on a busy machine; each gets a fresh folder.
struct TagFileShape {
    const char* name;
    void (*check)(const WideFolder& folder, const std::wstring& tagIni);
};

void ReadableInAWideFolder(const WideFolder& folder, const std::wstring& tagIni) {
    folder.Write(L"Tag.ini", "%Head\r\n&<b>\r\n");
    const auto groups = menus::LoadTagFile(tagIni);
    ASSERT_EQ(groups.size(), 1u) << "a folder of any name holds a readable Tag.ini";
    EXPECT_EQ(groups[0].entries, std::vector<std::string>{"<b>"});
}

void EmptyOrOnlyLineEnds(const WideFolder& folder, const std::wstring& tagIni) {
    folder.Write(L"Tag.ini", "");
    EXPECT_TRUE(menus::LoadTagFile(tagIni).empty());
    folder.Write(L"Tag.ini", std::string(100000, '\r'));
    EXPECT_TRUE(menus::LoadTagFile(tagIni).empty());
}

void TenMegabyteCaption(const WideFolder& folder, const std::wstring& tagIni) {
    folder.Write(L"Tag.ini", "%" + std::string(10 * 1024 * 1024, 'x'));
    const auto groups = menus::LoadTagFile(tagIni);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].caption.size(), 10u * 1024 * 1024);
}

void AThousandGroups(const WideFolder& folder, const std::wstring& tagIni) {
    std::string thousandGroups;
    for (int group = 0; group < 1000; ++group) {
        thousandGroups += "%group " + std::to_string(group) + "\r\n";
        for (int entry = 1; entry < 100; ++entry) thousandGroups += "&<e" + std::to_string(entry) + ">\r\n";
    }
    folder.Write(L"Tag.ini", thousandGroups);
    const auto groups = menus::LoadTagFile(tagIni);
    ASSERT_EQ(groups.size(), 1000u);
    EXPECT_EQ(groups[999].entries.size(), 99u);
}

void Garbage(const WideFolder& folder, const std::wstring& tagIni) {
    std::string garbage;
    for (unsigned i = 0; i < 65536; ++i) garbage.push_back(static_cast<char>((i * 2654435761u) >> 24));
    folder.Write(L"Tag.ini", "%A\r\n&" + garbage + "\r\n&\x81\r\n%\x82\xFF\x81");  // no valid Shift-JIS either
    const auto groups = menus::LoadTagFile(tagIni);
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups[0].caption, "A");
}

// Locked by another program that shares nothing; a program that writes the file while sharing it
// does not keep the menu from being read.
void LockedOrWrittenByAnotherProgram(const WideFolder& folder, const std::wstring& tagIni) {
    folder.Write(L"Tag.ini", "%Head\r\n");
    {
        const toolkit::FileHandle lock = LockWithoutSharing(tagIni);
        ASSERT_TRUE(lock);
        try {
            menus::LoadTagFile(tagIni);
            ADD_FAILURE() << "a locked Tag.ini gave no error";
        } catch (const toolkit::Error& error) {
            EXPECT_EQ(WideToUtf8(error.Message()), OpenError(tagIni));
        }
    }
    const toolkit::FileHandle writer{::CreateFileW(tagIni.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    ASSERT_TRUE(writer);
    EXPECT_EQ(menus::LoadTagFile(tagIni).size(), 1u);
}

void AFolderInTheFilesPlace(const WideFolder& folder, const std::wstring&) {
    const std::wstring folderInstead = folder.Path() + L"sub\\Tag.ini";
    ::CreateDirectoryW((folder.Path() + L"sub").c_str(), nullptr);
    ::CreateDirectoryW(folderInstead.c_str(), nullptr);
    EXPECT_THROW(menus::LoadTagFile(folderInstead), toolkit::Error);
    ::RemoveDirectoryW(folderInstead.c_str());
    ::RemoveDirectoryW((folder.Path() + L"sub").c_str());
}

// Names the shape in the test's listing.
void PrintTo(const TagFileShape& shape, std::ostream* out) { *out << shape.name; }

class HostileTagFiles : public ::testing::TestWithParam<TagFileShape> {};

TEST_P(HostileTagFiles, EveryShapeGivesGroupsOrTheFileOpenError) {
    const WideFolder folder;
    GetParam().check(folder, folder.Path() + L"Tag.ini");
}

INSTANTIATE_TEST_SUITE_P(Shapes, HostileTagFiles,
                         ::testing::Values(TagFileShape{"ReadableInAWideFolder", &ReadableInAWideFolder},
                                           TagFileShape{"EmptyOrOnlyLineEnds", &EmptyOrOnlyLineEnds},
                                           TagFileShape{"TenMegabyteCaption", &TenMegabyteCaption},
                                           TagFileShape{"AThousandGroups", &AThousandGroups},
                                           TagFileShape{"Garbage", &Garbage},
                                           TagFileShape{"LockedOrWrittenByAnotherProgram", &LockedOrWrittenByAnotherProgram},
                                           TagFileShape{"AFolderInTheFilesPlace", &AFolderInTheFilesPlace}),
                         [](const ::testing::TestParamInfo<TagFileShape>& info) { return std::string(info.param.name); });

TEST(HostileFileReplacement, AFailedReplacementKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const WideFolder folder;
    const std::wstring buffer = folder.Path() + L"Buffer.htm";
    EXPECT_TRUE(toolkit::ReplaceFileContent(buffer, "first\r\n"));
    EXPECT_TRUE(toolkit::ReplaceFileContent(buffer, "second\r\n"));
    EXPECT_EQ(folder.Read(L"Buffer.htm"), "second\r\n");

    {
        const toolkit::FileHandle lock = LockWithoutSharing(buffer);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(toolkit::ReplaceFileContent(buffer, "while locked\r\n"));
    }
    EXPECT_EQ(folder.Read(L"Buffer.htm"), "second\r\n");

    ::SetFileAttributesW(buffer.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(toolkit::ReplaceFileContent(buffer, "read-only\r\n"));
    ::SetFileAttributesW(buffer.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(folder.Read(L"Buffer.htm"), "second\r\n");

    // A folder where the file should be cannot be replaced by a file.
    ::CreateDirectoryW((folder.Path() + L"dir.htm").c_str(), nullptr);
    EXPECT_FALSE(toolkit::ReplaceFileContent(folder.Path() + L"dir.htm", "x"));

    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Buffer.htm", L"dir.htm"}));
}

TEST(HostileFileReplacement, ATemporaryNameBeyondThePathLimitLeavesAWholeFile) {
    const WideFolder folder;
    // A folder whose path leaves room for "Buffer.htm" (259 characters in all) and not for the
    // temporary name beside it.
    constexpr size_t kFolderLength = MAX_PATH - 1 - 10;
    std::wstring deep = folder.Path();
    while (deep.size() < kFolderLength) {
        const size_t remaining = kFolderLength - deep.size();
        const size_t segment = remaining > 51 ? (remaining == 52 ? 49 : 50) : remaining - 1;
        deep += std::wstring(segment, L'd') + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    }
    const std::wstring buffer = deep + L"Buffer.htm";
    ASSERT_EQ(buffer.size(), static_cast<size_t>(MAX_PATH - 1));
    {
        const toolkit::FileHandle old{
            ::CreateFileW(buffer.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
        DWORD written = 0;
        ASSERT_TRUE(old && ::WriteFile(old.Get(), "old\r\n", 5, &written, nullptr));
    }
    const bool replaced = toolkit::ReplaceFileContent(buffer, "new\r\n");
    // Either the whole new content or, where the platform refuses the long name, the old file.
    const std::optional<std::string> now = toolkit::ReadFileBytes(buffer, 16);
    EXPECT_EQ(now.value_or("<missing>"), replaced ? "new\r\n" : "old\r\n");
    WIN32_FIND_DATAW entry{};
    const HANDLE find = ::FindFirstFileW((deep + L"*.tmp").c_str(), &entry);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    ::DeleteFileW(buffer.c_str());
    while (deep.size() > folder.Path().size()) {
        ::RemoveDirectoryW(deep.c_str());
        deep.resize(deep.find_last_of(L'\\', deep.size() - 2) + 1);
    }
}

}  // namespace
