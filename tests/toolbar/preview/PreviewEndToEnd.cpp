// The preview button end to end: a staged Corvane planted in the stand-in host, the browser
// window served by the scripted control. A document with a file is opened from it, saved first
// when modified; one without a file is copied into Buffer.htm after a warning, every time, and a
// Buffer.htm that cannot be written is reported and left as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/ToolbarDriver.h"
#include "hostlink/core/HostProtocol.h"

namespace {

using namespace testsupport;
using namespace toolbartest;

const char kWarningText[] =
    "ファイルが保存されていないため、\r\n"
    "一時ファイルに保存してから表示します。\r\n"
    "設定によっては正しく表示されない可能性があるため、\r\n"
    "できるだけファイルを保存してからこの操作を実行してください。";

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

class Preview : public ::testing::Test {
protected:
    void StartWithText(const std::string& ansiText) {
        HostSim::Options options;
        options.text = ansiText;
        options.hasText = true;
        corvane_.Start(options);
    }
    // A document saved as path, its text in the host being text, modified or not.
    void StartWithFile(const std::string& path, const std::string& text, bool modified) {
        StartWithText(text);
        if (HasFatalFailure()) return;
        corvane_.Host().SetFileName(path);
        corvane_.Host().SetModified(modified);
    }
    std::string BufferPath() const { return corvane_.Folder() + "Buffer.htm"; }

    // Presses the preview button; checks the warning and runs whileOpen while it is shown, then
    // answers it.
    void PreviewThroughWarning(const std::function<void()>& whileOpen = [] {}) {
        corvane_.ClickItem(kBtnKestrixtoBrouser);
        const HWND box = corvane_.WaitForBox(5000);
        ASSERT_NE(box, nullptr) << "no warning for a document without a file";
        EXPECT_EQ(WindowCaption(box), "Corvane with Kestrix");
        EXPECT_EQ(MessageBoxText(box), kWarningText);
        whileOpen();
        PressMessageBoxButton(box);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 3000));
    }

    ScriptedBrowserRegistration browser_;
    CorvaneOnHost corvane_;
};

TEST_F(Preview, SavedDocumentOpensItsOwnFileWithoutBeingSaved) {
    const std::string dir = ScratchDir("preview saved document");
    const std::string path = dir + Utf8ToAnsi("見本.htm");
    WriteFileBytes(path, "<p>saved</p>");
    StartWithFile(path, "<p>saved</p>", false);

    corvane_.ClickItem(kBtnKestrixtoBrouser);
    EXPECT_EQ(browser_.WaitForNavigatedUrls(1, 5000), std::vector<std::string>{dir + "見本.htm"});
    EXPECT_TRUE(corvane_.BrowserShown());
    EXPECT_TRUE(corvane_.Host().MessagesWithId(hostlink::kMsgSaveDocument).empty()) << "an unmodified document was saved";
    EXPECT_EQ(corvane_.WaitForBox(0), nullptr);
    EXPECT_FALSE(FileExists(BufferPath()));
    RemoveTree(dir);
}

TEST_F(Preview, ModifiedDocumentIsSavedBeforeTheBrowserOpensIt) {
    const std::string dir = ScratchDir("preview modified document");
    const std::string path = dir + "page.htm";
    const std::string newText = Utf8ToAnsi("<p>書き直した本文</p>");
    WriteFileBytes(path, "<p>old</p>");
    StartWithFile(path, newText, true);

    corvane_.ClickItem(kBtnKestrixtoBrouser);
    ASSERT_EQ(browser_.WaitForNavigatedUrls(1, 5000), std::vector<std::string>{path});
    // The save returns before Corvane goes on, so the file is new by the time it is opened.
    EXPECT_EQ(ReadFileBytes(path), newText);
    EXPECT_EQ(corvane_.Host().MessagesWithId(hostlink::kMsgSaveDocument).size(), 1u);
    EXPECT_FALSE(corvane_.Host().Modified());
    EXPECT_TRUE(corvane_.BrowserShown());
    RemoveTree(dir);
}

TEST_F(Preview, UnsavedDocumentWarnsEveryTimeBeforeBufferHtmIsWritten) {
    const std::string first = Utf8ToAnsi("<html><body>日本語の本文</body></html>");
    const std::string second = Utf8ToAnsi("<p>二度目</p>");
    StartWithText(first);

    PreviewThroughWarning([&] { EXPECT_FALSE(FileExists(BufferPath())) << "written before the warning closed"; });
    ASSERT_EQ(browser_.WaitForNavigatedUrls(1, 5000).size(), 1u);
    EXPECT_EQ(browser_.NavigatedUrls()[0], corvane_.Folder() + "Buffer.htm");
    EXPECT_EQ(ReadFileBytes(BufferPath()), first + "\r\n");
    EXPECT_TRUE(corvane_.BrowserShown());

    corvane_.Host().SetText(second);
    PreviewThroughWarning([&] { EXPECT_EQ(ReadFileBytes(BufferPath()), first + "\r\n"); });
    ASSERT_EQ(browser_.WaitForNavigatedUrls(2, 5000).size(), 2u);
    EXPECT_EQ(browser_.NavigatedUrls()[1], corvane_.Folder() + "Buffer.htm");
    EXPECT_EQ(ReadFileBytes(BufferPath()), second + "\r\n");
    EXPECT_TRUE(corvane_.Host().MessagesWithId(hostlink::kMsgSaveDocument).empty());
}

struct TextCase {
    const char* name;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class PreviewText : public Preview, public ::testing::WithParamInterface<TextCase> {};

TEST_P(PreviewText, BufferHtmHoldsTheHostsBytesAndOneLineEnd) {
    StartWithText(GetParam().text);
    PreviewThroughWarning();
    ASSERT_EQ(browser_.WaitForNavigatedUrls(1, 5000).size(), 1u);
    EXPECT_EQ(ReadFileBytes(BufferPath()), GetParam().text + "\r\n");
}

std::string LongText() {
    std::string text;
    const std::string line = Utf8ToAnsi("<p>長い文書の一行</p>\r\n");  // 16 characters
    while (text.size() < 70000 * 2) text += line;
    return text;
}

INSTANTIATE_TEST_SUITE_P(Texts, PreviewText,
                         ::testing::Values(TextCase{"Empty", ""}, TextCase{"LongerThan70000Characters", LongText()}),
                         [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// The document's own encoding: declared UTF-8 gives Buffer.htm in UTF-8, converted from the host's
// code page; declared Shift_JIS, another encoding or nothing gives the host's bytes.
struct EncodingCase {
    const char* name;
    const char* utf8Text;
    bool writtenAsUtf8;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class PreviewEncoding : public Preview, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(PreviewEncoding, BufferHtmIsWrittenInTheEncodingTheDocumentDeclares) {
    const std::string utf8 = GetParam().utf8Text;
    const std::string ansi = Utf8ToAnsi(utf8);
    StartWithText(ansi);
    PreviewThroughWarning();
    ASSERT_EQ(browser_.WaitForNavigatedUrls(1, 5000).size(), 1u);
    EXPECT_EQ(ReadFileBytes(BufferPath()), (GetParam().writtenAsUtf8 ? utf8 : ansi) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, PreviewEncoding,
    ::testing::Values(
        EncodingCase{"MetaCharsetUtf8", "<!DOCTYPE html>\r\n<meta charset=\"utf-8\">\r\n<p>日本語の本文、①と～</p>", true},
        EncodingCase{"HttpEquivUtf8",
                     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\"><p>表示</p>", true},
        EncodingCase{"MetaCharsetShiftJis", "<meta charset=\"Shift_JIS\"><p>日本語の本文</p>", false},
        EncodingCase{"HttpEquivWindows31j",
                     "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-31j\"><p>表示</p>", false},
        EncodingCase{"Undeclared", "<p>日本語の本文</p>", false},
        EncodingCase{"Utf8OnlyInAComment", "<!-- <meta charset=\"utf-8\"> --><p>日本語の本文</p>", false}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

// Buffer.htm in the way: a read-only file, or a folder of that name.
class PreviewBlocked : public Preview, public ::testing::WithParamInterface<bool> {};

TEST_P(PreviewBlocked, BufferHtmThatCannotBeWrittenIsReportedAndKeptWithoutABrowser) {
    const bool readOnlyFile = GetParam();
    StartWithText("<p>new</p>");
    if (readOnlyFile) {
        WriteFileBytes(BufferPath(), "<p>earlier</p>\r\n");
        ASSERT_TRUE(::SetFileAttributesA(BufferPath().c_str(), FILE_ATTRIBUTE_READONLY));
    } else {
        ASSERT_TRUE(::CreateDirectoryA(BufferPath().c_str(), nullptr));
    }
    const auto before = FilesIn(corvane_.Folder());

    PreviewThroughWarning();
    const HWND error = corvane_.WaitForBox(5000);
    ASSERT_NE(error, nullptr) << "no error box";
    EXPECT_EQ(MessageBoxText(error), "ファイル " + corvane_.Folder() + "Buffer.htm を作成できません.");
    PressMessageBoxButton(error);
    PumpFor(1000);

    EXPECT_FALSE(corvane_.BrowserShown());
    EXPECT_TRUE(browser_.NavigatedUrls().empty());
    EXPECT_TRUE(corvane_.Corvane().Running());
    EXPECT_EQ(FilesIn(corvane_.Folder()), before) << "a partial file was left behind";
    if (readOnlyFile) {
        EXPECT_EQ(ReadFileBytes(BufferPath()), "<p>earlier</p>\r\n");
        ::SetFileAttributesA(BufferPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

INSTANTIATE_TEST_SUITE_P(InTheWay, PreviewBlocked, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReadOnlyFile" : "Folder");
                         });

}  // namespace
