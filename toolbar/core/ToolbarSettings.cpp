#include "toolbar/core/ToolbarSettings.h"

namespace toolbar {

bool ToolbarLeftNeedsHost(std::int32_t menuPosition) {
    return menuPosition != kMenuPositionRight && menuPosition != kMenuPositionLeft;
}

int ToolbarLeft(std::int32_t menuPosition, std::uint8_t hostLayoutCode) {
    if (menuPosition == kMenuPositionRight) return kToolbarLeftRight;
    if (menuPosition == kMenuPositionLeft) return kToolbarLeftLeft;
    return hostLayoutCode == kLayoutCodeRight ? kToolbarLeftRight : kToolbarLeftLeft;
}

ToolbarFrame ToolbarFrameFor(bool flat) { return flat ? ToolbarFrame{-2, 1} : ToolbarFrame{0, 0}; }

}  // namespace toolbar
