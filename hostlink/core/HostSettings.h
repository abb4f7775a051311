#pragma once
// The host's settings file as Corvane takes it: the values it reads, in one plain structure that
// any form can be given, and the rule by which a value's text becomes an integer. Corvane reads
// the file once, at start (hostlink/SettingsFile.h), and never writes it.

#include <cstdint>
#include <optional>
#include <string_view>

namespace hostlink {

// Each member is one key; its initial value is the default for a missing file, section or key,
// and for a text that is no integer.
struct HostSettings {
    bool flatToolBar = true;       // "Option"/"FlatToolBar": the toolbar is flat (else raised)
    std::int32_t menuPosition = 0;  // "Browser"/"Menu": where the toolbar sits in the host's toolbar
};

// An integer written as text: optional leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything else (trailing characters, no
// digits, a decimal value outside 32 bits, more than 32 bits of hexadecimal) is no integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// The setting's value, or defaultValue when the text is not an integer (an empty text included).
std::int32_t IniIntegerOr(std::string_view text, std::int32_t defaultValue);
// An integer setting used as a switch: non-zero is true.
bool IniBooleanOr(std::string_view text, bool defaultValue);

}  // namespace hostlink
