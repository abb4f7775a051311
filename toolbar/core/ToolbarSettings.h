#pragma once
// The toolbar's settings as the host's settings file gives them, and where they put the toolbar.
// No window is involved: the values come in as the text the settings file holds.

#include <cstdint>
#include <optional>
#include <string_view>

namespace toolbar {

// An integer written as text: optional leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything else (trailing characters, no
// digits, a decimal value outside 32 bits, more than 32 bits of hexadecimal) is no integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// The setting's value, or defaultValue when the text is not an integer (an empty text included).
std::int32_t IniIntegerOr(std::string_view text, std::int32_t defaultValue);
// An integer setting used as a switch: non-zero is true.
bool IniBooleanOr(std::string_view text, bool defaultValue);

// "Browser"/"Menu": 1 and 2 fix the toolbar's x position; anything else leaves it to the host.
inline constexpr std::int32_t kMenuPositionRight = 1;
inline constexpr std::int32_t kMenuPositionLeft = 2;
inline constexpr int kToolbarLeftRight = 369;
inline constexpr int kToolbarLeftLeft = 314;
// The host's mapped layout code that asks for the right-hand position.
inline constexpr std::uint8_t kLayoutCodeRight = 2;

int ToolbarLeft(std::int32_t menuPosition, std::uint8_t hostLayoutCode);
// Whether the toolbar's left position is taken from the host's layout code at all.
bool ToolbarLeftNeedsHost(std::int32_t menuPosition);

// A flat toolbar sits 2 pixels higher and has a 1-pixel border; a raised one has neither.
struct ToolbarFrame {
    int top;
    int borderWidth;
};
ToolbarFrame ToolbarFrameFor(bool flat);

}  // namespace toolbar
