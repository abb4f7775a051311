// The host link against the stand-in editor in its own process, and against windows in this
// process that only look like a host or answer nonsense.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "tests/hostlink/FakeHost.h"
#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "hostlink/Kestrix.h"
#include "toolkit/Handles.h"

namespace {

using hosttest::Answer;
using hosttest::FakeWindow;
using hostlink::HostHandle;
using testsupport::HostMessage;
using testsupport::HostSim;

constexpr unsigned kSave = hostlink::kMsgSaveDocument;
constexpr unsigned kGetMemo = hostlink::kMsgGetMemo;
constexpr unsigned kGetLayout = hostlink::kMsgGetLayoutCode;
constexpr unsigned kTakeText = hostlink::kMsgTakeText;

HostHandle HandleOf(HWND window) { return hostlink::FromHwnd(window); }

std::string Block(std::string_view text) { return std::string(text) + '\0'; }

std::string Japanese(const char* utf8) {
    EXPECT_EQ(::GetACP(), 932u) << "these checks need the Japanese ANSI code page";
    return testsupport::Utf8ToAnsi(utf8);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// Every operation on something that is no host gives its empty value and leaves no block behind.
void ExpectEveryOperationGivesTheNotHostValue(HostHandle h) {
    EXPECT_EQ(hostlink::GetHostMemo(h), nullptr);
    EXPECT_EQ(hostlink::GetHostLayoutCode(h), 0);
    EXPECT_EQ(hostlink::GetHostTextLength(h), -1);
    EXPECT_EQ(hostlink::GetHostText(h), "");
    EXPECT_EQ(hostlink::GetHostFileName(h), "");
    EXPECT_EQ(hostlink::GetHostExeName(h), "");
    EXPECT_EQ(hostlink::GetHostIniFilePath(h), "");
    hostlink::SaveHostDocumentIfModified(h);
    hostlink::InsertTextIntoHost(h, "<b>");
    EXPECT_EQ(::OpenFileMappingA(FILE_MAP_READ, FALSE, hostlink::SharedBlockName(h).c_str()), nullptr);
}

class HostLinkTest : public ::testing::Test {
protected:
    void TearDown() override { hostlink::SetVersionSourceForTesting(nullptr); }

    static void PretendSystem(unsigned long platformId, unsigned long minorVersion) {
        hostlink::SetVersionSourceForTesting([=] { return hostlink::VersionInfo{platformId, minorVersion}; });
    }
};

// ----------------------------------------------------------------------------------------------
// Which windows are hosts

using HostRecognition = HostLinkTest;

TEST_F(HostRecognition, OnlyTheExactClassNameIsAHost) {
    EXPECT_FALSE(hostlink::IsHostWindow(0));
    for (const char* className : {"tkestrixmainform", "TKESTRIXMAINFORM", "TKestrixMainForm2", "TKestrixMainFor", "TEdit"}) {
        FakeWindow lookalike(className, nullptr);
        EXPECT_FALSE(hostlink::IsHostWindow(HandleOf(lookalike.Handle()))) << className;
    }
    FakeWindow host("TKestrixMainForm", nullptr);
    EXPECT_TRUE(hostlink::IsHostWindow(HandleOf(host.Handle())));
}

TEST_F(HostRecognition, AHandleThatIsNoLongerAWindowIsNoHost) {
    HostHandle gone = 0;
    {
        FakeWindow host("TKestrixMainForm", nullptr);
        gone = HandleOf(host.Handle());
        ASSERT_TRUE(hostlink::IsHostWindow(gone));
    }
    EXPECT_FALSE(hostlink::IsHostWindow(gone));
    EXPECT_EQ(hostlink::GetHostText(gone), "");
    EXPECT_EQ(hostlink::GetHostTextLength(gone), -1);
}

// A window that looks like a host in every way but its class name is never asked anything.
TEST_F(HostRecognition, ALookalikeIsNeitherAskedNorReadNorSent) {
    FakeWindow memo("TLookalikeMemo", [](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_GETTEXTLENGTH || message == EM_GETMODIFY) return 5;
        return std::nullopt;
    });
    const HWND memoHandle = memo.Handle();
    FakeWindow lookalike("tkestrixmainform", [memoHandle](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kGetMemo) return reinterpret_cast<LRESULT>(memoHandle);
        if (message == kGetLayout) return 1;
        return std::nullopt;
    });
    FakeWindow fileName("TEdit", nullptr, lookalike.Handle());
    ::SetWindowTextA(fileName.Handle(), "C:\\doc.htm");
    const HostHandle h = HandleOf(lookalike.Handle());

    ExpectEveryOperationGivesTheNotHostValue(h);
    for (unsigned id : {kSave, kGetMemo, kGetLayout, kTakeText}) EXPECT_EQ(lookalike.Count(id), 0u) << std::hex << id;
    EXPECT_TRUE(memo.Log().empty());
}

TEST_F(HostRecognition, TheStandInEditorIsAHostWithItsChildWindows) {
    HostSim host = HostSim::Start();
    const HostHandle h = host.Handle32();
    ASSERT_TRUE(hostlink::IsHostWindow(h));
    EXPECT_EQ(hostlink::GetHostMemo(h), host.Memo());
    EXPECT_EQ(hostlink::FindHostToolbar(h), host.Toolbar());
    EXPECT_NE(host.Toolbar(), nullptr);
    EXPECT_PRED2(SameIgnoringCase, hostlink::GetHostExeName(h), testsupport::HostsimExe());
    EXPECT_PRED2(SameIgnoringCase, hostlink::GetHostIniFilePath(h), host.IniPath());
    EXPECT_EQ(hostlink::GetHostFileName(h), "");
    EXPECT_EQ(hostlink::GetWindowsVersionName(), "WinNT");
}

TEST_F(HostRecognition, AHostWithoutToolbarGivesNone) {
    HostSim::Options options;
    options.noToolbar = true;
    HostSim host = HostSim::Start(options);
    EXPECT_TRUE(hostlink::IsHostWindow(host.Handle32()));
    EXPECT_EQ(hostlink::FindHostToolbar(host.Handle32()), nullptr);
    EXPECT_EQ(hostlink::FindHostToolbar(0), nullptr);
}

// ----------------------------------------------------------------------------------------------
// Reading the document

using HostText = HostLinkTest;

std::string LongText(size_t length) {
    std::string text;
    for (size_t i = 0; text.size() < length; ++i) text += "<p>line " + std::to_string(i) + "</p>\r\n";
    text.resize(length);
    return text;
}

TEST_F(HostText, SeventyThousandCharactersAreReadWholeOnlyOnTheNtFamily) {
    HostSim::Options options;
    options.text = LongText(70000);
    HostSim host = HostSim::Start(options);
    const HostHandle h = host.Handle32();

    PretendSystem(2, 0);
    EXPECT_EQ(hostlink::GetHostTextLength(h), 70000);
    EXPECT_EQ(hostlink::GetHostText(h), options.text);

    for (unsigned long minor : {0ul, 10ul, 90ul, 5ul}) {
        PretendSystem(1, minor);
        EXPECT_EQ(hostlink::GetHostTextLength(h), -1) << "minor " << minor;
        EXPECT_EQ(hostlink::GetHostText(h), "") << "minor " << minor;
    }
    PretendSystem(0, 0);
    EXPECT_EQ(hostlink::GetHostText(h), "");
    PretendSystem(7, 0);  // a platform without a name is not the NT family either
    EXPECT_EQ(hostlink::GetHostText(h), "");
}

TEST_F(HostText, TheOlderFamilyReadsUpTo65534Characters) {
    HostSim host = HostSim::Start();
    const HostHandle h = host.Handle32();
    PretendSystem(1, 10);
    const std::string limit = LongText(65534);
    host.SetText(limit);
    EXPECT_EQ(hostlink::GetHostTextLength(h), 65534);
    EXPECT_EQ(hostlink::GetHostText(h), limit);
    host.SetText(LongText(65535));
    EXPECT_EQ(hostlink::GetHostTextLength(h), -1);
    EXPECT_EQ(hostlink::GetHostText(h), "");
}

TEST_F(HostText, JapaneseTextAndAnEmptyDocumentComeBackByteForByte) {
    HostSim::Options options;
    options.text = Japanese("<p>日本語の表示テスト</p>\r\n能力 ソース\r\n");
    HostSim host = HostSim::Start(options);
    const HostHandle h = host.Handle32();
    EXPECT_EQ(hostlink::GetHostTextLength(h), static_cast<int>(options.text.size()));
    EXPECT_EQ(hostlink::GetHostText(h), options.text);

    host.SetText("");
    EXPECT_EQ(hostlink::GetHostTextLength(h), 0);
    EXPECT_EQ(hostlink::GetHostText(h), "");
}

TEST_F(HostText, FileNameIsTheTEditTextCutTo255Characters) {
    HostSim::Options options;
    options.fileName = Japanese("C:\\文書\\索引.htm");
    HostSim host = HostSim::Start(options);
    const HostHandle h = host.Handle32();
    EXPECT_EQ(hostlink::GetHostFileName(h), options.fileName);

    const std::string longName = "C:\\" + std::string(300, 'n') + ".htm";
    host.SetFileName(longName);
    EXPECT_EQ(hostlink::GetHostFileName(h), longName.substr(0, 255));
    host.SetFileName(longName.substr(0, 255));
    EXPECT_EQ(hostlink::GetHostFileName(h), longName.substr(0, 255));
    host.SetFileName("");
    EXPECT_EQ(hostlink::GetHostFileName(h), "");
}

// ----------------------------------------------------------------------------------------------
// The layout code

TEST(HostLayout, AnswersAreMappedIncludingNegativeAndUnknownOnes) {
    HostSim::Options options;
    options.layout = 1;
    HostSim host = HostSim::Start(options);
    const HostHandle h = host.Handle32();
    EXPECT_EQ(hostlink::GetHostLayoutCode(h), 2);

    const struct {
        int answer;
        int mapped;
    } table[] = {{0, 1},  {1, 2},  {2, 3},  {3, 5},  {4, 6},    {5, 7},       {6, 8},       {7, 9},
                 {8, 10}, {9, 11}, {10, 4}, {11, 1}, {-1, 1}, {-10, 1}, {266, 1}, {INT_MAX, 1}, {INT_MIN, 1}};
    for (const auto& row : table) {
        host.SetLayout(row.answer);
        EXPECT_EQ(hostlink::GetHostLayoutCode(h), row.mapped) << "answer " << row.answer;
    }
    // One question per call, and nothing else asked.
    const std::vector<HostMessage> messages = host.Messages();
    EXPECT_EQ(messages.size(), std::size(table) + 1);
    for (const HostMessage& message : messages) {
        EXPECT_EQ(message.id, kGetLayout);
        EXPECT_EQ(message.wParam, 0u);
        EXPECT_EQ(message.lParam, 0);
    }
}

// ----------------------------------------------------------------------------------------------
// Saving

TEST(HostSave, AskedOnlyWhenModifiedAndTheFileIsWrittenBeforeTheCallReturns) {
    const std::string dir = testsupport::ScratchDir("hostlink-save") + "my documents\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    const std::string file = dir + "page one.htm";
    testsupport::WriteFileBytes(file, "old");
    HostSim::Options options;
    options.openFile = file;
    HostSim host = HostSim::Start(options);
    const HostHandle h = host.Handle32();
    ASSERT_EQ(host.FileName(), file);
    ASSERT_EQ(host.Text(), "old");

    const std::string text = Japanese("<h1>見出し</h1>\r\n");
    host.SetText(text);
    ASSERT_FALSE(host.Modified());
    hostlink::SaveHostDocumentIfModified(h);
    EXPECT_TRUE(host.MessagesWithId(kSave).empty());
    EXPECT_EQ(testsupport::ReadFileBytes(file), "old");

    host.SetModified(true);
    hostlink::SaveHostDocumentIfModified(h);
    EXPECT_EQ(testsupport::ReadFileBytes(file), text);
    EXPECT_EQ(host.MessagesWithId(kSave).size(), 1u);
    EXPECT_FALSE(host.Modified());

    hostlink::SaveHostDocumentIfModified(h);
    EXPECT_EQ(host.MessagesWithId(kSave).size(), 1u);
    testsupport::RemoveTree(testsupport::ScratchDir("hostlink-save"));
}

// ----------------------------------------------------------------------------------------------
// Sending text through the shared block

class HostSendText : public HostLinkTest {
protected:
    void SetUp() override { host_ = HostSim::Start(); }
    HostHandle H() const { return host_.Handle32(); }
    HostMessage LastTransfer() const {
        const std::vector<HostMessage> transfers = host_.MessagesWithId(kTakeText);
        return transfers.empty() ? HostMessage{} : transfers.back();
    }
    HostSim host_;
};

TEST_F(HostSendText, TheBlockHoldsTheExactBytesAndTheirZero) {
    const std::string texts[] = {"<b></b>", Japanese("<p>表示・能力・ソース</p>"), "a\tb\r\nc", std::string(5000, 'x')};
    size_t sent = 0;
    for (const std::string& text : texts) {
        host_.SetText("");
        hostlink::InsertTextIntoHost(H(), text);
        ++sent;
        const HostMessage message = LastTransfer();
        EXPECT_EQ(host_.MessagesWithId(kTakeText).size(), sent);
        EXPECT_TRUE(message.blockRead);
        EXPECT_EQ(message.wParam, hostlink::kInsertAtCaret);
        EXPECT_EQ(message.lParam, static_cast<long long>(text.size() + 1));
        EXPECT_EQ(message.block, Block(text));
        EXPECT_EQ(host_.Text(), text);
    }
}

TEST_F(HostSendText, AnEmptyTextIsAOneByteBlock) {
    host_.SetText("kept");
    hostlink::SendTextToHost(H(), "", 1);
    const HostMessage message = LastTransfer();
    EXPECT_TRUE(message.blockRead);
    EXPECT_EQ(message.lParam, 1);
    EXPECT_EQ(message.block, std::string(1, '\0'));
    EXPECT_EQ(host_.Text(), "kept");
}

TEST_F(HostSendText, TextGoesInAtTheCaretAndOtherModesPassThrough) {
    host_.SetText("abcdef");
    ::SendMessageA(host_.Memo(), EM_SETSEL, 3, 3);
    hostlink::InsertTextIntoHost(H(), "XY");
    EXPECT_EQ(host_.Text(), "abcXYdef");

    hostlink::SendTextToHost(H(), "zz", 7);
    const HostMessage message = LastTransfer();
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.block, Block("zz"));
    EXPECT_EQ(host_.Text(), "abcXYdef");  // only mode 1 inserts
}

TEST_F(HostSendText, TheBlockLivesOnlyForTheCall) {
    hostlink::InsertTextIntoHost(H(), "<br>");
    ASSERT_TRUE(LastTransfer().blockRead);
    EXPECT_EQ(::OpenFileMappingA(FILE_MAP_READ, FALSE, hostlink::SharedBlockName(H()).c_str()), nullptr);
}

// A block of that name still open elsewhere comes back with its old size: nothing may be written
// past it, and no cut text is sent.
TEST_F(HostSendText, AnExistingSmallerBlockGetsNothing) {
    host_.SetText("");
    const std::string name = hostlink::SharedBlockName(H());
    {
        const toolkit::KernelHandle small(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, name.c_str()));
        ASSERT_TRUE(small.Get());
        const std::string text(100000, 'a');
        hostlink::InsertTextIntoHost(H(), text);
        EXPECT_TRUE(host_.MessagesWithId(kTakeText).empty());
        EXPECT_EQ(host_.Text(), "");
    }
    hostlink::InsertTextIntoHost(H(), "after");
    EXPECT_EQ(LastTransfer().block, Block("after"));
    EXPECT_EQ(host_.Text(), "after");
}

TEST_F(HostSendText, AnExistingLargerBlockCarriesTheText) {
    host_.SetText("");
    const std::string name = hostlink::SharedBlockName(H());
    const toolkit::KernelHandle large(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1 << 16, name.c_str()));
    ASSERT_TRUE(large.Get());
    hostlink::InsertTextIntoHost(H(), "<i></i>");
    EXPECT_EQ(LastTransfer().block, Block("<i></i>"));
    EXPECT_EQ(host_.Text(), "<i></i>");
}

// Another program may make a block of that name first, with pages only reserved: a write into
// them faults. Nothing is written or sent until the pages the text needs are committed.
TEST_F(HostSendText, ASquattedBlockGetsNothingWhereItsPagesAreNotCommitted) {
    host_.SetText("");
    const std::string name = hostlink::SharedBlockName(H());
    const toolkit::KernelHandle squatted(
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_RESERVE, 0, 1 << 16, name.c_str()));
    ASSERT_TRUE(squatted);
    const toolkit::MappedView view(::MapViewOfFile(squatted.Get(), FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(view);
    const auto firstPageCommitted = [&] {
        MEMORY_BASIC_INFORMATION region{};
        return ::VirtualQuery(view.Get(), &region, sizeof region) != 0 && region.State == MEM_COMMIT;
    };
    ASSERT_FALSE(firstPageCommitted());
    hostlink::InsertTextIntoHost(H(), "<b>");
    EXPECT_FALSE(firstPageCommitted());
    EXPECT_TRUE(host_.MessagesWithId(kTakeText).empty());

    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    ASSERT_TRUE(::VirtualAlloc(view.Get(), system.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
    hostlink::InsertTextIntoHost(H(), std::string(system.dwPageSize, 'x'));  // its zero byte on the next page
    EXPECT_TRUE(host_.MessagesWithId(kTakeText).empty());
    EXPECT_EQ(host_.Text(), "");

    hostlink::InsertTextIntoHost(H(), "<b>");
    EXPECT_EQ(LastTransfer().block, Block("<b>"));
    EXPECT_EQ(host_.Text(), "<b>");
}

// ----------------------------------------------------------------------------------------------
// A host that goes away, and hosts that answer nonsense

TEST(HostGone, EveryOperationGivesTheEmptyValue) {
    HostSim::Options options;
    options.text = "text";
    options.fileName = "C:\\a.htm";
    HostSim host = HostSim::Start(options);
    const HostHandle h = host.Handle32();
    ASSERT_EQ(hostlink::GetHostText(h), "text");
    ASSERT_TRUE(host.Close());

    EXPECT_FALSE(hostlink::IsHostWindow(h));
    EXPECT_EQ(hostlink::FindHostToolbar(h), nullptr);
    ExpectEveryOperationGivesTheNotHostValue(h);
}

// A host in this process whose text area answers as the test says.
class OddHost : public HostLinkTest {
protected:
    void Build(Answer memoAnswer) {
        memo_ = std::make_unique<FakeWindow>("TOddMemo", std::move(memoAnswer));
        const HWND memo = memo_->Handle();
        host_ = std::make_unique<FakeWindow>("TKestrixMainForm", [memo](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == kGetMemo) return reinterpret_cast<LRESULT>(memo);
            if (message == kSave) return 0;
            return std::nullopt;
        });
    }
    HostHandle H() const { return HandleOf(host_->Handle()); }
    void TearDown() override {
        host_.reset();
        memo_.reset();
        HostLinkTest::TearDown();
    }
    std::unique_ptr<FakeWindow> memo_, host_;
};

TEST_F(OddHost, ImpossibleLengthsGiveNoText) {
    LRESULT claimed = 0;
    Build([&claimed](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_GETTEXTLENGTH) return claimed;
        if (message == WM_GETTEXT) return 0;
        return std::nullopt;
    });
    // Past the cap a text is not read: no buffer of about 2 GiB for a host that claims INT_MAX - 1.
    std::vector<LRESULT> lengths = {-1, -100, LRESULT{INT_MIN}, LRESULT{INT_MAX}, LRESULT{INT_MAX} - 1,
                                    LRESULT{hostlink::kMaxHostTextLength} + 1};
    if constexpr (sizeof(LRESULT) > 4) {
        lengths.push_back(static_cast<LRESULT>(1ll << 40));
        lengths.push_back(static_cast<LRESULT>(LLONG_MIN));
        lengths.push_back(static_cast<LRESULT>(LLONG_MAX));
    }
    for (LRESULT length : lengths) {
        claimed = length;
        EXPECT_EQ(hostlink::GetHostTextLength(H()), -1) << length;
        EXPECT_EQ(hostlink::GetHostText(H()), "") << length;
    }
    EXPECT_EQ(memo_->Count(WM_GETTEXT), 0u);
}

TEST_F(OddHost, TextIsCutAtTheClaimedLengthOrAtTheHostsZero) {
    LRESULT claimed = 10;
    std::string written;
    bool terminate = true;
    Build([&](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_GETTEXTLENGTH) return claimed;
        if (message == WM_GETTEXT) {
            // Writes as much of `written` as the buffer takes, with or without a terminator.
            char* buffer = reinterpret_cast<char*>(lParam);
            const size_t n = std::min(written.size(), static_cast<size_t>(wParam));
            std::memcpy(buffer, written.data(), n);
            if (terminate && n < wParam) buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        return std::nullopt;
    });
    written = "abc";
    EXPECT_EQ(hostlink::GetHostText(H()), "abc");
    ASSERT_FALSE(memo_->Log().empty());
    EXPECT_EQ(memo_->Log().back().wParam, 11u);  // n + 1 bytes offered

    written = std::string(50, 'x');  // more than the buffer, and no terminator
    terminate = false;
    EXPECT_EQ(hostlink::GetHostText(H()), std::string(10, 'x'));

    claimed = 0;
    EXPECT_EQ(hostlink::GetHostText(H()), "");
}

// The text area's handle is used only when it names a window of the host's own process; any other
// answer is no text area, and nothing is sent to it (a broadcast would reach every window).
TEST_F(OddHost, ATextAreaOutsideTheHostsProcessIsNeverAsked) {
    HostSim::Options options;
    options.text = "another program's text";
    options.modified = true;
    HostSim other = HostSim::Start(options);
    HWND stale = nullptr;
    {
        FakeWindow gone("TGoneMemo", nullptr);
        stale = gone.Handle();
    }
    FakeWindow bystander("TBystander", nullptr);  // a top-level window: a broadcast reaches it
    HWND answer = nullptr;
    host_ = std::make_unique<FakeWindow>("TKestrixMainForm", [&answer](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kGetMemo) return reinterpret_cast<LRESULT>(answer);
        if (message == kSave) return 0;
        return std::nullopt;
    });
    const HWND answers[] = {nullptr, stale, HWND_BROADCAST, other.Memo(), other.Main()};
    for (const HWND candidate : answers) {
        answer = candidate;
        EXPECT_EQ(hostlink::GetHostMemo(H()), nullptr) << candidate;
        EXPECT_EQ(hostlink::GetHostTextLength(H()), 0) << candidate;
        EXPECT_EQ(hostlink::GetHostText(H()), "") << candidate;
        hostlink::SaveHostDocumentIfModified(H());
    }
    EXPECT_EQ(host_->Count(kSave), 0u);
    EXPECT_TRUE(bystander.Log().empty());
    EXPECT_TRUE(other.Modified());
}

TEST_F(OddHost, AChildThatFillsItsBufferGives255Characters) {
    Build(nullptr);
    FakeWindow fileName("TEdit", [](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_GETTEXT) return std::nullopt;
        std::memset(reinterpret_cast<char*>(lParam), 'y', wParam);  // no terminator anywhere
        return static_cast<LRESULT>(wParam);
    }, host_->Handle());
    EXPECT_EQ(hostlink::GetHostFileName(H()), std::string(255, 'y'));
    EXPECT_EQ(hostlink::GetHostExeName(H()), "");  // no such child
}

TEST_F(OddHost, NoTextAreaReadsAsAnEmptyText) {
    host_ = std::make_unique<FakeWindow>("TKestrixMainForm", nullptr);  // answers 0 to everything
    EXPECT_EQ(hostlink::GetHostMemo(H()), nullptr);
    EXPECT_EQ(hostlink::GetHostTextLength(H()), 0);
    EXPECT_EQ(hostlink::GetHostText(H()), "");
    hostlink::SaveHostDocumentIfModified(H());
    EXPECT_EQ(host_->Count(kSave), 0u);
}

TEST_F(OddHost, AModifiedFlagAsksTheHostToSave) {
    Build([](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == EM_GETMODIFY) return -1;  // any value but 0 means modified
        return std::nullopt;
    });
    hostlink::SaveHostDocumentIfModified(H());
    EXPECT_EQ(host_->Count(kSave), 1u);
}

}  // namespace
