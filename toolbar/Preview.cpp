// The preview button: the host's document in the browser window, from its own file when it has
// one (saved first when modified), otherwise from a copy of its text in Buffer.htm.

#include "toolbar/Preview.h"

#include <windows.h>

#include "browser/Unit2.h"
#include "toolbar/LivePreview.h"
#include "toolbar/PreviewContent.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"

namespace preview {

namespace {

constexpr wchar_t kUnsavedWarning[] =
    L"ファイルが保存されていないため、\r\n"
    L"一時ファイルに保存してから表示します。\r\n"
    L"設定によっては正しく表示されない可能性があるため、\r\n"
    L"できるだけファイルを保存してからこの操作を実行してください。";
constexpr wchar_t kWarningCaption[] = L"Corvane with Kestrix";

[[noreturn]] void FailToCreate(const std::string& path) {
    throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s を作成できません", toolkit::AnsiToWide(path)));
}

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk = content.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(content.size());
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::string BufferFilePath() { return toolkit::ExecutableFolder() + "Buffer.htm"; }

void WriteFileWhole(const std::string& path, std::string_view content) {
    // Replacing a file by renaming would pass over its read-only attribute, which writing it would not.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) FailToCreate(path);
    // One name per process, so two instances serving two hosts from one folder do not meet.
    const std::string partial = path + "." + std::to_string(::GetCurrentProcessId()) + ".tmp";
    toolkit::FileHandle file{::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file) FailToCreate(path);
    const bool written = WriteAll(file.Get(), content) && ::CloseHandle(file.Release());
    if (!written || !::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        file.Reset();
        ::DeleteFileA(partial.c_str());
        FailToCreate(path);
    }
}

std::string ShowHostTextInBrowser(kestrix::HostHandle host) {
    const std::string path = BufferFilePath();
    std::string text = kestrix::GetHostText(host);
    WriteFileWhole(path, toolbar::BufferContent(text));
    browser::Form2->Open(path, browser::OpenOrder::ShowThenNavigate);
    return text;
}

}  // namespace preview

void toolbar::TForm1::Btn_KestrixtoBrouserClick() {
    using kestrix::HostWindow;
    if (!Live) Live = std::make_unique<LivePreview>(*browser::Form2, preview::BufferFilePath());
    if (!kestrix::GetHostFileName(HostWindow).empty()) {
        kestrix::SaveHostDocumentIfModified(HostWindow);
        // Asked again: saving may have given the document another name.
        const std::string fileName = kestrix::GetHostFileName(HostWindow);
        browser::Form2->Open(fileName, browser::OpenOrder::ShowThenNavigate);
        Live->PreviewedFile(fileName);
        return;
    }
    toolkit::App().MessageBox(preview::kUnsavedWarning, preview::kWarningCaption, MB_ICONWARNING | MB_OK);
    Live->PreviewedText(preview::ShowHostTextInBrowser(HostWindow));
}
