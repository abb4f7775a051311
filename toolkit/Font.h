#pragma once
// The font both forms and their controls use.

#include "toolkit/Handles.h"

namespace toolkit {

// "ＭＳ Ｐゴシック", characters 12 pixels high, Shift-JIS character set. Empty when the
// system cannot make it; the controls then keep the system's font.
FontHandle CreateFormFont();

}  // namespace toolkit
