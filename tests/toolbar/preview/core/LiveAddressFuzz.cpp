// Fuzzes the comparison of a browser's address with a previewed file's path: any pair of texts
// gives an answer without reading past them, a path names itself, and a file URL spelled from a
// drive path (escapes for "%", "#" and each character outside ASCII) names that path.
//
// Input: the location, a zero byte, the path; each byte pair is one UTF-16 unit, little-endian.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "toolbar/preview/core/LiveFollow.h"

namespace {

std::wstring Units(std::string_view bytes) {
    std::wstring units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    return units;
}

void AppendEscaped(std::wstring& url, char32_t code) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    unsigned char bytes[4];
    int count = 0;
    if (code < 0x80) {
        bytes[count++] = static_cast<unsigned char>(code);
    } else if (code < 0x800) {
        bytes[count++] = static_cast<unsigned char>(0xC0 | code >> 6);
        bytes[count++] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes[count++] = static_cast<unsigned char>(0xE0 | code >> 12);
        bytes[count++] = static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    } else {
        bytes[count++] = static_cast<unsigned char>(0xF0 | code >> 18);
        bytes[count++] = static_cast<unsigned char>(0x80 | (code >> 12 & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    }
    for (int i = 0; i < count; ++i) {
        url += L'%';
        url += static_cast<wchar_t>(kHex[bytes[i] >> 4]);
        url += static_cast<wchar_t>(kHex[bytes[i] & 0xF]);
    }
}

// The file URL a browser may report for path: "/" for "\", escapes as above. A surrogate
// without its partner has no UTF-8 form and stays as it is.
std::wstring FileUrlOf(std::wstring_view path) {
    std::wstring url = L"file:///";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto unit = static_cast<char32_t>(path[i]);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const auto next = i + 1 < path.size() ? static_cast<char32_t>(path[i + 1]) : 0;
        if (high && next >= 0xDC00 && next <= 0xDFFF) {
            AppendEscaped(url, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            url += path[i];
        } else if (unit == L'%' || unit == L'#' || unit >= 0x80) {
            AppendEscaped(url, unit);
        } else {
            url += unit == L'\\' ? L'/' : path[i];
        }
    }
    return url;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find('\0');
    const std::wstring location = Units(bytes.substr(0, split));
    const std::wstring name = split == std::string_view::npos ? std::wstring() : Units(bytes.substr(split + 1));
    (void)toolbar::IsAddressOf(location, name);
    (void)toolbar::IsAddressOf(name, location);
    if (toolbar::IsAddressOf(location, location) != !location.empty()) std::abort();
    const std::wstring path = L"C:\\" + name;
    if (!toolbar::IsAddressOf(FileUrlOf(path), path)) std::abort();
    return 0;
}
