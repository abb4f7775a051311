#include "toolkit/core/Utf8.h"

namespace toolkit {

namespace {

// What a lead byte tells of its sequence: its length (0 for a byte that starts none), the bits of
// the code point it holds, and the smallest code point that needs that length.
struct Utf8Lead {
    std::size_t length = 0;
    std::uint32_t bits = 0;
    std::uint32_t minimum = 0;
};

Utf8Lead LeadOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {2, lead & 0x1Fu, 0x80};
    if (lead >= 0xE0 && lead <= 0xEF) return {3, lead & 0x0Fu, 0x800};
    if (lead >= 0xF0 && lead <= 0xF4) return {4, lead & 0x07u, 0x10000};
    return {};
}

}  // namespace

Utf8Sequence ReadUtf8(std::string_view bytes, std::size_t index) {
    const auto first = static_cast<unsigned char>(bytes[index]);
    if (first < 0x80) return {first, 1};
    const Utf8Lead lead = LeadOf(first);
    if (lead.length == 0 || bytes.size() - index < lead.length) return {};
    std::uint32_t codePoint = lead.bits;
    for (std::size_t i = 1; i < lead.length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[index + i]);
        if ((next & 0xC0u) != 0x80u) return {};
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < lead.minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    return {codePoint, lead.length};
}

}  // namespace toolkit
