#pragma once
// Where the host's settings (hostlink/core/HostSettings.h) put the toolbar. No window is involved.

#include <cstdint>

namespace toolbar {

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
