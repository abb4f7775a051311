// Live preview's decisions, check by check, against a scripted browser window and host; and the
// comparison of the address a browser reports with the previewed file's path.

#include "toolbar/preview/core/LiveFollow.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using toolbar::FileStamp;
using toolbar::IsAddressOf;
using toolbar::LiveAction;
using toolbar::LiveFollow;

constexpr wchar_t kBuffer[] = L"C:\\Corvane\\Buffer.htm";

std::string Printable(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) out += c > 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

// What the window and the host hold now; counts the costly looks of each check.
class ScriptedSight : public toolbar::LiveSight {
public:
    std::wstring windowAddress = kBuffer;
    std::wstring fileName;
    std::string text;
    bool textReadable = true;  // false: the host has gone, or refuses the text
    std::optional<FileStamp> stamp;
    std::optional<std::string> content;  // the file's bytes; nothing: it cannot be read
    bool folderChanged = false;          // a change notification is waiting
    int textReads = 0;
    int stampLooks = 0;
    int contentReads = 0;

    bool WindowShows(const std::wstring& address) override { return address == windowAddress; }
    std::wstring HostFileName() override { return fileName; }
    std::optional<std::string> HostText() override {
        ++textReads;
        return textReadable ? std::optional<std::string>(text) : std::nullopt;
    }
    bool FolderChanged(const std::wstring&) override { return std::exchange(folderChanged, false); }
    std::optional<std::uint64_t> ContentHashOf(const std::wstring& path) override {
        ++contentReads;
        EXPECT_EQ(path, windowAddress);
        return content ? std::optional<std::uint64_t>(toolbar::ContentHash(*content)) : std::nullopt;
    }
    std::optional<FileStamp> StampOf(const std::wstring& path) override {
        ++stampLooks;
        EXPECT_EQ(path, windowAddress);
        return stamp;
    }
};

class Live : public ::testing::Test {
protected:
    LiveAction::Kind Check() {
        const int reads = sight_.textReads, looks = sight_.stampLooks;
        last_ = follow_.Check(sight_);
        EXPECT_LE(sight_.textReads - reads + sight_.stampLooks - looks, 1) << "more than one costly look in a check";
        return last_.kind;
    }
    void PreviewText(const std::string& text) {
        sight_.text = text;
        follow_.PreviewedText(kBuffer, text);
    }

    LiveFollow follow_;
    ScriptedSight sight_;
    LiveAction last_;
};

TEST_F(Live, TextIsRewrittenOnceItHasChangedAndThenStayedTheSameForOneCheck) {
    PreviewText("<p>a</p>");
    EXPECT_EQ(Check(), LiveAction::None);  // unchanged
    sight_.text = "<p>ab</p>";
    EXPECT_EQ(Check(), LiveAction::None);  // changed: perhaps still typing
    sight_.text = "<p>abc</p>";
    EXPECT_EQ(Check(), LiveAction::None);  // changed again
    EXPECT_EQ(Check(), LiveAction::Rewrite);  // the same as last time: typing has paused
    EXPECT_EQ(last_.text, "<p>abc</p>");
    EXPECT_EQ(Check(), LiveAction::None);  // Buffer.htm has it now
    EXPECT_EQ(Check(), LiveAction::None);
}

TEST_F(Live, TextTypedAndTakenBackBeforeThePauseRewritesNothing) {
    PreviewText("<p>a</p>");
    sight_.text = "<p>ax</p>";
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.text = "<p>a</p>";
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.text = "<p>ax</p>";
    EXPECT_EQ(Check(), LiveAction::None) << "a change seen two checks ago is no pause";
    EXPECT_EQ(Check(), LiveAction::Rewrite);
}

TEST_F(Live, NothingIsLookedAtOrDoneWhileTheWindowIsElsewhereAndFollowingResumesOnReturn) {
    PreviewText("<p>a</p>");
    sight_.text = "<p>b</p>";
    sight_.windowAddress = L"http://example.org/";
    EXPECT_EQ(Check(), LiveAction::None);
    EXPECT_EQ(Check(), LiveAction::None);
    EXPECT_EQ(sight_.textReads, 0);
    sight_.windowAddress = kBuffer;
    EXPECT_EQ(Check(), LiveAction::None);
    EXPECT_EQ(Check(), LiveAction::Rewrite);
    EXPECT_EQ(last_.text, "<p>b</p>");
}

TEST_F(Live, UnsavedDocumentSavedUnderANameIsOpenedFromItsFileAndFollowedThere) {
    PreviewText("<p>a</p>");
    sight_.fileName = L"C:\\site\\page.htm";
    EXPECT_EQ(Check(), LiveAction::Open);
    EXPECT_TRUE(last_.address == L"C:\\site\\page.htm");
    EXPECT_EQ(sight_.textReads, 0);
    EXPECT_EQ(Check(), LiveAction::None) << "the window is not there yet";
    sight_.windowAddress = L"C:\\site\\page.htm";
    sight_.stamp = FileStamp{10, 100};
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.stamp = FileStamp{12, 200};
    EXPECT_EQ(Check(), LiveAction::Reload);
    EXPECT_EQ(sight_.textReads, 0);
}

TEST_F(Live, FileIsReloadedWhenItsSizeOrTimeChangesAndNotWhileItIsMissing) {
    sight_.windowAddress = L"C:\\site\\page.htm";
    sight_.stamp = FileStamp{10, 100};
    follow_.PreviewedFile(L"C:\\site\\page.htm");
    EXPECT_EQ(Check(), LiveAction::None);  // the first look only learns the stamp
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.stamp = FileStamp{10, 101};
    EXPECT_EQ(Check(), LiveAction::Reload);
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.stamp = FileStamp{11, 101};
    EXPECT_EQ(Check(), LiveAction::Reload);
    sight_.stamp.reset();  // saved by replacing: gone for a moment
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.stamp = FileStamp{11, 101};
    EXPECT_EQ(Check(), LiveAction::Reload);
    EXPECT_EQ(sight_.textReads, 0);
}

TEST_F(Live, ANewPreviewReplacesWhatIsFollowedAndForgettingStopsIt) {
    EXPECT_EQ(Check(), LiveAction::None);  // no preview yet
    EXPECT_FALSE(follow_.Following());
    sight_.windowAddress = L"C:\\site\\page.htm";
    sight_.stamp = FileStamp{1, 1};
    follow_.PreviewedFile(L"C:\\site\\page.htm");
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.windowAddress = kBuffer;
    PreviewText("<p>x</p>");
    sight_.text = "<p>y</p>";
    EXPECT_EQ(Check(), LiveAction::None);
    follow_.Forget();
    EXPECT_FALSE(follow_.Following());
    EXPECT_EQ(Check(), LiveAction::None);
    EXPECT_EQ(Check(), LiveAction::None);
}

TEST_F(Live, AHostTextThatCannotBeReadIsNeverTakenForAnEmptyDocument) {
    PreviewText("<p>a</p>");
    sight_.text = "<p>ab</p>";
    EXPECT_EQ(Check(), LiveAction::None);  // seen once: perhaps still typing
    sight_.textReadable = false;           // the host dies, or refuses the text
    for (int check = 0; check < 4; ++check) EXPECT_EQ(Check(), LiveAction::None) << "check " << check;
    sight_.textReadable = true;
    EXPECT_EQ(Check(), LiveAction::Rewrite) << "what was seen before is forgotten";
    EXPECT_EQ(last_.text, "<p>ab</p>");
}

TEST_F(Live, WhatFailedIsCalledForAgainAtTheNextCheck) {
    // A rewrite that failed: the same text again, at once.
    PreviewText("<p>a</p>");
    sight_.text = "<p>b</p>";
    EXPECT_EQ(Check(), LiveAction::None);
    EXPECT_EQ(Check(), LiveAction::Rewrite);
    follow_.Failed();
    EXPECT_EQ(Check(), LiveAction::Rewrite);
    EXPECT_EQ(last_.text, "<p>b</p>");
    EXPECT_EQ(Check(), LiveAction::None);

    // An opening of the document's new file that failed: the window is still on Buffer.htm.
    sight_.fileName = L"C:\\site\\page.htm";
    EXPECT_EQ(Check(), LiveAction::Open);
    follow_.Failed();
    EXPECT_EQ(Check(), LiveAction::Open);
    EXPECT_TRUE(last_.address == L"C:\\site\\page.htm");
    EXPECT_EQ(Check(), LiveAction::None);

    // A reload of the file that failed.
    sight_.windowAddress = L"C:\\site\\page.htm";
    sight_.stamp = FileStamp{1, 1};
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.stamp = FileStamp{2, 2};
    EXPECT_EQ(Check(), LiveAction::Reload);
    follow_.Failed();
    EXPECT_EQ(Check(), LiveAction::Reload);
    EXPECT_EQ(Check(), LiveAction::None);
    follow_.Failed();  // after a check that called for nothing: nothing is owed
    EXPECT_EQ(Check(), LiveAction::None);
}

TEST_F(Live, ASaveThatKeepsSizeAndTimeIsToldByTheContentAfterTheFolderChanged) {
    sight_.windowAddress = L"C:\\site\\page.htm";
    sight_.stamp = FileStamp{10, 100};
    sight_.content = "<p>one</p>";
    follow_.PreviewedFile(L"C:\\site\\page.htm");
    EXPECT_EQ(Check(), LiveAction::None);  // learns stamp and content
    struct Step {
        const char* what;
        bool folderChanged;
        std::optional<std::string> content;
        LiveAction::Kind expected;
        int contentReads;
    };
    const Step steps[] = {
        {"nothing changed", false, "<p>one</p>", LiveAction::None, 0},
        {"another file of the folder changed", true, "<p>one</p>", LiveAction::None, 1},
        {"saved, the notification still on its way", false, "<p>two</p>", LiveAction::None, 0},
        {"the notification arrives", true, "<p>two</p>", LiveAction::Reload, 1},
        {"the same content again", true, "<p>two</p>", LiveAction::None, 1},
        {"saved while the file is still held", true, std::nullopt, LiveAction::None, 1},
        {"readable at the next check", false, "<p>six</p>", LiveAction::Reload, 1},
        {"quiet", false, "<p>six</p>", LiveAction::None, 0},
    };
    for (const Step& step : steps) {
        sight_.folderChanged = step.folderChanged;
        sight_.content = step.content;
        const int reads = sight_.contentReads;
        EXPECT_EQ(Check(), step.expected) << step.what;
        EXPECT_EQ(sight_.contentReads - reads, step.contentReads) << step.what;
    }
    // A save that changes the stamp reloads and learns the new content with it.
    sight_.stamp = FileStamp{11, 200};
    sight_.content = "<p>seven</p>";
    EXPECT_EQ(Check(), LiveAction::Reload);
    sight_.folderChanged = true;
    EXPECT_EQ(Check(), LiveAction::None) << "the content read with the reload was not kept";
}

TEST(BrowserAddress, PlainPathsAndFileUrlsNameTheSameFile) {
    const std::wstring path = L"C:\\Program Files\\Corvane\\Buffer.htm";
    for (const wchar_t* location : {L"C:\\Program Files\\Corvane\\Buffer.htm", L"c:/program files/corvane/buffer.HTM",
                                    L"file:///C:/Program%20Files/Corvane/Buffer.htm",
                                    L"FILE://C:\\Program Files\\Corvane\\Buffer.htm", L"file:///C|/Program Files/Corvane/Buffer.htm",
                                    L"file:///C:/Program%20Files/Corvane/Buffer.htm#top"})
        EXPECT_TRUE(IsAddressOf(location, path)) << Printable(location);
    EXPECT_TRUE(IsAddressOf(L"file:///C:/%E6%96%87%E6%9B%B8/a.htm", L"C:\\文書\\a.htm"));
    EXPECT_TRUE(IsAddressOf(L"file:///C:/文書/a.htm", L"C:\\文書\\a.htm"));
    EXPECT_TRUE(IsAddressOf(L"file://server/share/a.htm", L"\\\\server\\share\\a.htm"));
}

TEST(BrowserAddress, OtherAddressesAndBrokenEscapesAreNotTheFile) {
    const std::wstring path = L"C:\\site\\a.htm";
    for (const wchar_t* location : {L"", L"about:blank", L"http://example.org/a.htm", L"C:\\site\\a.htm#top",
                                    L"file:///C:/site/b.htm", L"file:///C:/site/a.htm%", L"file:///C:/site/%FFa.htm",
                                    L"file:///C:/site/%E6%96a.htm", L"file:", L"C:\\site\\a.htm "})
        EXPECT_FALSE(IsAddressOf(location, path)) << Printable(location);
    EXPECT_FALSE(IsAddressOf(L"", L""));
    EXPECT_TRUE(IsAddressOf(L"file:///C:/site/%61.htm", path));
    EXPECT_TRUE(IsAddressOf(L"file:///C:/site/a%23b.htm", L"C:\\site\\a#b.htm"));
}

// A second file preview starts afresh: its first check only learns the new file's stamp.
TEST_F(Live, TwoFilePreviewsInARowDoNotReloadOnTheSecondsFirstCheck) {
    sight_.windowAddress = L"C:\\site\\a.htm";
    sight_.stamp = FileStamp{10, 100};
    follow_.PreviewedFile(L"C:\\site\\a.htm");
    EXPECT_EQ(Check(), LiveAction::None);
    sight_.windowAddress = L"C:\\site\\b.htm";
    sight_.stamp = FileStamp{20, 200};
    follow_.PreviewedFile(L"C:\\site\\b.htm");
    EXPECT_EQ(Check(), LiveAction::None) << "another file's stamp is no change of this one";
    sight_.stamp = FileStamp{21, 201};
    EXPECT_EQ(Check(), LiveAction::Reload);
}

// Escapes at the edges of an address, and UTF-8 that no encoder writes: overlong forms and
// surrogates, which would let two spellings name one file.
TEST(BrowserAddress, EscapesAtTheEndDecodeAndOverlongOrSurrogateUtf8IsRefused) {
    struct Case {
        const wchar_t* location;
        const wchar_t* path;
        bool same;
    };
    const Case cases[] = {
        {L"file:///C:/site/a.ht%6D", L"C:\\site\\a.htm", true},
        {L"file:///C:/site/a.htm%6", L"C:\\site\\a.htm6", false},
        {L"file:///C:/site/%C1%A1.htm", L"C:\\site\\a.htm", false},
        {L"file:///C:/site/%C0%AF.htm", L"C:\\site\\/.htm", false},
        {L"file:///C:/site/%E0%81%A1.htm", L"C:\\site\\a.htm", false},
        {L"file:///C:/site/%ED%A0%BD%ED%B8%80.htm", L"C:\\site\\\xD83D\xDE00.htm", false},
        {L"file:///C:/site/%ED%B8%80.htm", L"C:\\site\\\xDE00.htm", false},
        {L"file:///C:/site/%F0%9F%98%80.htm", L"C:\\site\\\xD83D\xDE00.htm", true},
        {L"file:///C:/site/%F4%90%80%80.htm", L"C:\\site\\x.htm", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAddressOf(c.location, c.path), c.same) << Printable(c.location);
}

}  // namespace
