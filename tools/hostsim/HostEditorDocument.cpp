// The stand-in editor's document: the text area's bytes, the file they come from and go to, and
// the commands of its File menu.

#include "tools/hostsim/HostEditor.h"

#include <optional>

#include "tools/hostsim/HostSimDialogs.h"
#include "tools/hostsim/HostSimFiles.h"

namespace hostsim {

namespace {

std::string WindowTextAnsi(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int n = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::wstring WindowTextWide(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int n = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

}  // namespace

std::wstring HostEditor::DocumentName() const { return WindowTextWide(fileName_); }

void HostEditor::LoadInitialDocument() {
    if (!options_.document.empty()) {
        if (const auto bytes = ReadFileBytes(options_.document)) SetDocument(*bytes, FullPath(options_.document), false);
    } else if (!options_.textFile.empty()) {
        if (const auto bytes = ReadFileBytes(options_.textFile)) SetDocument(*bytes, L"", false);
    }
    if (!options_.fileName.empty()) ::SetWindowTextW(fileName_, options_.fileName.c_str());
    if (options_.modified) ::SendMessageW(memo_, EM_SETMODIFY, TRUE, 0);
    UpdateTitle();
}

void HostEditor::SetDocument(const std::string& bytes, const std::wstring& fileName, bool modified) {
    ::SetWindowTextA(memo_, bytes.c_str());
    ::SendMessageW(memo_, EM_SETMODIFY, modified, 0);
    ::SetWindowTextW(fileName_, fileName.c_str());
    UpdateTitle();
}

bool HostEditor::SaveTo(const std::wstring& path) {
    if (!WriteFileBytes(path, WindowTextAnsi(memo_))) return false;
    ::SendMessageW(memo_, EM_SETMODIFY, FALSE, 0);
    return true;
}

bool HostEditor::SaveInteractive(bool askForName) {
    std::wstring name = DocumentName();
    if (askForName || name.empty()) {
        const std::optional<std::wstring> chosen = AskFileToSave(main_, name);
        if (!chosen) return false;
        name = *chosen;
    }
    if (!SaveTo(name)) {
        ShowError(main_, name, L"に保存できませんでした。");
        return false;
    }
    ::SetWindowTextW(fileName_, name.c_str());
    UpdateTitle();
    return true;
}

bool HostEditor::ConfirmDiscard() {
    if (!::SendMessageW(memo_, EM_GETMODIFY, 0, 0)) return true;
    const int answer = AskToSaveChanges(main_);
    if (answer == IDYES) return SaveInteractive(false);
    return answer == IDNO;
}

void HostEditor::NewDocument() {
    if (ConfirmDiscard()) SetDocument({}, L"", false);
}

void HostEditor::OpenDocument() {
    if (!ConfirmDiscard()) return;
    const std::optional<std::wstring> path = AskFileToOpen(main_);
    if (!path) return;
    if (const auto bytes = ReadFileBytes(*path))
        SetDocument(*bytes, *path, false);
    else
        ShowError(main_, *path, L"を開けませんでした。");
}

void HostEditor::UpdateTitle() {
    if (!options_.title.empty()) return;
    const std::wstring name = DocumentName();
    ::SetWindowTextW(main_, ((name.empty() ? std::wstring(L"(無題)") : name) + L" - hostsim").c_str());
}

}  // namespace hostsim
