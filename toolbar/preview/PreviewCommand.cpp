// The preview button: the host's document in the browser window, from its own file when it has
// one (saved first when modified), otherwise from a copy of its text in Buffer.htm.

#include "toolbar/Preview.h"

#include <windows.h>

#include "browser/Unit2.h"
#include "toolbar/LivePreview.h"
#include "toolbar/PreviewContent.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"

namespace toolbar {

namespace {

constexpr wchar_t kUnsavedWarning[] =
    L"ファイルが保存されていないため、\r\n"
    L"一時ファイルに保存してから表示します。\r\n"
    L"設定によっては正しく表示されない可能性があるため、\r\n"
    L"できるだけファイルを保存してからこの操作を実行してください。";
constexpr wchar_t kWarningCaption[] = L"Corvane with Kestrix";

}  // namespace

std::string ShowHostTextInBrowser(hostlink::HostHandle host, BufferFile& buffer) {
    std::string text = hostlink::GetHostText(host);
    buffer.Write(text);
    browser::Form2->Open(buffer.Path(), browser::OpenOrder::ShowThenNavigate);
    return text;
}

void TForm1::Btn_KestrixtoBrouserClick() {
    using hostlink::HostWindow;
    if (!Live) {
        Buffer = std::make_unique<BufferFile>(toolkit::ExecutableFolder(), HostWindow);
        Live = std::make_unique<LivePreview>(*browser::Form2, *Buffer);
    }
    if (!hostlink::GetHostFileName(HostWindow).empty()) {
        hostlink::SaveHostDocumentIfModified(HostWindow);
        // Asked again: saving may have given the document another name.
        const std::wstring path = toolkit::AnsiToWide(hostlink::GetHostFileName(HostWindow));
        browser::Form2->Open(path, browser::OpenOrder::ShowThenNavigate);
        Live->PreviewedFile(path);
        return;
    }
    toolkit::App().MessageBox(kUnsavedWarning, kWarningCaption, MB_ICONWARNING | MB_OK);
    Live->PreviewedText(ShowHostTextInBrowser(HostWindow, *Buffer));
}

}  // namespace toolbar
