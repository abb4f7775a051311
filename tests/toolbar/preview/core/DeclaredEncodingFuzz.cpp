// Fuzzes the search for a declared encoding: any bytes give an answer without reading past them,
// and nothing after the first 1,024 bytes changes it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "toolbar/preview/core/DeclaredEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The fuzzer's own buffer, exactly the input's size: AddressSanitizer sees any read past its end.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const toolbar::DeclaredEncoding found = toolbar::FindDeclaredEncoding(bytes);
    const std::string head(bytes.substr(0, toolbar::kEncodingSearchLength));
    if (toolbar::FindDeclaredEncoding(head + "<meta charset=utf-8>") != found && size >= toolbar::kEncodingSearchLength)
        std::abort();
    (void)toolbar::EncodingOfLabel(bytes);
    return 0;
}
