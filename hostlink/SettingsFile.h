#pragma once
// Reading the host's settings file, the INI file whose path the host's hidden child window holds
// (GetHostIniFilePath).

#include "hostlink/core/HostSettings.h"
#include "hostlink/core/HostProtocol.h"

namespace hostlink {

// The settings of host h, read once; the defaults for a missing file, section or key, or a host
// that gives no path. Reports no error.
HostSettings ReadHostSettings(HostHandle h);

}  // namespace hostlink
