#include "toolkit/Error.h"

#include <windows.h>

#include "toolkit/Text.h"

namespace toolkit {

Error::Error(std::wstring message) : std::runtime_error(WideToAnsi(message)), message_(std::move(message)) {}

std::wstring MessageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Error*>(&error)) return own->Message();
    return AnsiToWide(error.what());
}

void ReportFatalError(const std::exception& error, const wchar_t* where) {
    const wchar_t* kind = dynamic_cast<const Error*>(&error) ? L"Error" : L"std::exception";
    const std::wstring text = std::wstring(L"例外 ") + kind + L" が " + where + L" で発生しました。\r\n" + MessageOf(error);
    ::MessageBoxW(nullptr, text.c_str(), L"アプリケーション エラー", MB_TASKMODAL | MB_ICONERROR | MB_OK);
    ::ExitProcess(1);
}

}  // namespace toolkit
