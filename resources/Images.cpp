// Skeleton: the resources' own work replaces this file.
#include "resources/Images.h"

namespace resources {

void LoadImageStrip(toolkit::TImageList&, int) {}

}  // namespace resources
