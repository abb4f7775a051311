#pragma once
// The one exception type of the program. A handler that cannot finish throws it; the window
// procedure or event dispatch that called the handler catches it and shows the standard error box.

#include <stdexcept>
#include <string>

namespace toolkit {

class Error : public std::runtime_error {
public:
    explicit Error(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// The text of an exception as the error box shows it.
std::wstring MessageOf(const std::exception& error);

// An error that leaves the program unable to start (or go on): a task-modal box with the error
// icon, caption "アプリケーション エラー", naming the error's kind, where it arose and its message;
// then the process ends with exit code 1.
[[noreturn]] void ReportFatalError(const std::exception& error, const wchar_t* where);

}  // namespace toolkit
