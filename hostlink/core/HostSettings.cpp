#include "hostlink/core/HostSettings.h"

namespace hostlink {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Strips a hexadecimal marker from the front of text; true when there was one.
bool TakeHexMarker(std::string_view& text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        return true;
    }
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        text.remove_prefix(1);
        return true;
    }
    return false;
}

// All of text as digits of base, at most limit; nothing for an empty text, another character or
// a value past the limit.
std::optional<std::uint64_t> ParseDigits(std::string_view text, int base, std::uint64_t limit) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (TakeHexMarker(text)) {
        // Hexadecimal spells the 32 bits themselves: $FFFFFFFF is -1.
        const auto bits = ParseDigits(text, 16, 0xFFFFFFFFu);
        if (!bits) return std::nullopt;
        const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(*bits));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)) : value;
    }
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    const auto magnitude = ParseDigits(text, 10, limit);
    if (!magnitude) return std::nullopt;
    if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
    return static_cast<std::int32_t>(*magnitude);
}

std::int32_t IniIntegerOr(std::string_view text, std::int32_t defaultValue) {
    return ParseIniInteger(text).value_or(defaultValue);
}

bool IniBooleanOr(std::string_view text, bool defaultValue) {
    const auto value = ParseIniInteger(text);
    return value ? *value != 0 : defaultValue;
}

}  // namespace hostlink
