#pragma once
// Loads the program's picture strips into image lists.

#include "toolkit/ImageList.h"

namespace resources {

// Appends every image of the strip bitmap resource (IDB_* of ResourceIds.h) to the list.
void LoadImageStrip(toolkit::TImageList& list, int resourceId);

}  // namespace resources
