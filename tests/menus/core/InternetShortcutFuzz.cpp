// Fuzzes the Internet shortcut reader and its UTF-7 decoder: any bytes give an address without
// crashing; the ANSI address never exceeds its limit nor holds a line end; a Unicode address is
// never empty and holds no control character; what the decoder accepts survives a round trip
// through a plain encoder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "menus/core/InternetShortcut.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every unit shifted, in runs that end with "-": always well-formed UTF-7.
std::string EncodeUtf7(const std::wstring& units) {
    static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    if (units.empty()) return out;
    out += '+';
    std::uint32_t bits = 0;
    int count = 0;
    for (const wchar_t unit : units) {
        bits = bits << 16 | (static_cast<std::uint32_t>(unit) & 0xFFFF);
        count += 16;
        while (count >= 6) {
            count -= 6;
            out += kBase64[bits >> count & 0x3F];
        }
        bits &= (1u << count) - 1;
    }
    if (count > 0) out += kBase64[bits << (6 - count) & 0x3F];
    return out + "-";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const menus::ShortcutAddress address = menus::ParseInternetShortcut(bytes);
    Check(address.ansi.size() <= menus::kShortcutAddressLimit);
    Check(address.ansi.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    if (address.unicode) {
        Check(!address.unicode->empty());
        for (const wchar_t c : *address.unicode) Check(c >= 0x20 && c != 0x7F);
    }

    if (const auto decoded = menus::DecodeUtf7(bytes)) {
        Check(decoded->size() <= bytes.size());
        Check(menus::DecodeUtf7(EncodeUtf7(*decoded)) == decoded);
    }
    return 0;
}
