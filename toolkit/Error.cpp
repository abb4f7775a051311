#include "Error.h"

#include "Text.h"

namespace toolkit {

Error::Error(std::wstring message) : std::runtime_error(WideToAnsi(message)), message_(std::move(message)) {}

std::wstring MessageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Error*>(&error)) return own->Message();
    return AnsiToWide(error.what());
}

}  // namespace toolkit
