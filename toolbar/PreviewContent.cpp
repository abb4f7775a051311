#include "toolbar/PreviewContent.h"

#include "toolbar/core/DeclaredEncoding.h"
#include "toolkit/Text.h"

namespace toolbar {

std::string BufferContent(std::string_view hostText) {
    std::string content(hostText);
    content += "\r\n";
    if (FindDeclaredEncoding(hostText) != DeclaredEncoding::Utf8) return content;
    return toolkit::WideToUtf8(toolkit::AnsiToWide(content));
}

}  // namespace toolbar
