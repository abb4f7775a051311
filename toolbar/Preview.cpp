// The preview button: the host's document in the browser window, from its own file when it has
// one (saved first when modified), otherwise from a copy of its text in Buffer.htm.

#include "toolbar/Preview.h"

#include <windows.h>

#include "browser/Unit2.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Files.h"
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

}  // namespace

std::wstring BufferFilePath() { return toolkit::ExecutableFolder() + L"Buffer.htm"; }

void WriteFileWhole(const std::wstring& path, std::string_view content) {
    if (!toolkit::ReplaceFileContent(path, content))
        throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s を作成できません", path));
}

void ShowHostTextInBrowser(kestrix::HostHandle host) {
    const std::wstring path = BufferFilePath();
    std::string content = kestrix::GetHostText(host);
    content += "\r\n";
    WriteFileWhole(path, content);
    Form2->Show();
    Form2->WebBrowser->Navigate(path);
}

}  // namespace preview

void TForm1::Btn_KestrixtoBrouserClick() {
    using kestrix::HostWindow;
    if (!kestrix::GetHostFileName(HostWindow).empty()) {
        kestrix::SaveHostDocumentIfModified(HostWindow);
        Form2->Show();
        // Asked again: saving may have given the document another name.
        Form2->WebBrowser->Navigate(toolkit::AnsiToWide(kestrix::GetHostFileName(HostWindow)));
        return;
    }
    toolkit::App().MessageBox(preview::kUnsavedWarning, preview::kWarningCaption, MB_ICONWARNING | MB_OK);
    preview::ShowHostTextInBrowser(HostWindow);
}
