#include "toolbar/preview/PreviewCommand.h"

#include <windows.h>

#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "toolbar/preview/BufferFile.h"
#include "toolbar/preview/LivePreview.h"
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

PreviewCommand::PreviewCommand() = default;
PreviewCommand::~PreviewCommand() = default;

void PreviewCommand::Run(hostlink::HostHandle host) {
    if (!live_) {
        buffer_ = std::make_unique<BufferFile>(toolkit::ExecutableFolder(), host);
        live_ = std::make_unique<LivePreview>(*browser::Form2, *buffer_);
    }
    if (!hostlink::GetHostFileName(host).empty()) {
        hostlink::SaveHostDocumentIfModified(host);
        // Asked again: saving may have given the document another name.
        const std::wstring path = toolkit::AnsiToWide(hostlink::GetHostFileName(host));
        browser::Form2->Open(path, browser::OpenOrder::ShowThenNavigate);
        live_->PreviewedFile(path);
        return;
    }
    toolkit::App().MessageBox(kUnsavedWarning, kWarningCaption, MB_ICONWARNING | MB_OK);
    live_->PreviewedText(ShowHostTextInBrowser(host, *buffer_));
}

}  // namespace toolbar
