#include "tools/hostsim/HostSimDialogs.h"

#include <commdlg.h>

namespace hostsim {

namespace {

const wchar_t kFileFilter[] = L"HTML ファイル (*.htm;*.html)\0*.htm;*.html\0テキスト (*.txt;*.ini)\0*.txt;*.ini\0"
                              L"すべてのファイル (*.*)\0*.*\0";

// A dialog over a path buffer of the longest path the wide API takes.
struct FileDialog {
    explicit FileDialog(HWND owner, const std::wstring& initial = {}) : buffer(32768, L'\0') {
        initial.copy(buffer.data(), buffer.size() - 1);
        fields.lStructSize = sizeof fields;
        fields.hwndOwner = owner;
        fields.lpstrFilter = kFileFilter;
        fields.lpstrFile = buffer.data();
        fields.nMaxFile = static_cast<DWORD>(buffer.size());
    }
    std::wstring Chosen() const { return buffer.c_str(); }

    std::wstring buffer;
    OPENFILENAMEW fields{};
};

}  // namespace

std::optional<std::wstring> AskFileToOpen(HWND owner) {
    FileDialog dialog(owner);
    dialog.fields.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!::GetOpenFileNameW(&dialog.fields)) return std::nullopt;
    return dialog.Chosen();
}

std::optional<std::wstring> AskFileToSave(HWND owner, const std::wstring& current) {
    FileDialog dialog(owner, current);
    dialog.fields.lpstrDefExt = L"htm";
    dialog.fields.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!::GetSaveFileNameW(&dialog.fields)) return std::nullopt;
    return dialog.Chosen();
}

int AskToSaveChanges(HWND owner) {
    return ::MessageBoxW(owner, L"変更を保存しますか?", L"hostsim", MB_YESNOCANCEL | MB_ICONQUESTION);
}

void ShowError(HWND owner, const std::wstring& text, const wchar_t* failure) {
    ::MessageBoxW(owner, (text + L"\r\n" + failure).c_str(), L"hostsim", MB_ICONERROR);
}

}  // namespace hostsim
