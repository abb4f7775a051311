#pragma once
// The Windows libraries that planting the toolbar does not use (the shell, COM and its automation
// types, the registry) load at their first call rather than at process start, where the linker
// allows it (cmake/DelayImports.cmake). LoadLateLibraries loads them all at one known moment, once
// the toolbar is planted, so that a library the system cannot load is reported there, by name.

namespace toolkit {

// Loads each late library; throws Error naming the first one that the system cannot load. A
// library already loaded costs nothing.
void LoadLateLibraries();

}  // namespace toolkit
