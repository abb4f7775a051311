// Fuzzes the settings integer rule: any text gives an integer or none without crashing, an
// integer it gives reads back the same from its decimal and its hexadecimal spelling, and the
// defaulting reader agrees with it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hostlink/core/HostSettings.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = hostlink::ParseIniInteger(text);
    constexpr std::int32_t kDefault = 0x5EED;
    Check(hostlink::IniIntegerOr(text, kDefault) == (value ? *value : kDefault));
    Check(hostlink::IniBooleanOr(text, true) == (value ? *value != 0 : true));
    if (!value) return 0;

    Check(hostlink::ParseIniInteger(std::to_string(*value)) == value);
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%X", static_cast<unsigned>(*value));
    Check(hostlink::ParseIniInteger(hex) == value);
    // Trailing characters make any integer none.
    Check(!hostlink::ParseIniInteger(std::string(text) + "z"));
    return 0;
}
