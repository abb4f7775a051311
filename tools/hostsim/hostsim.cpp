// Skeleton: the stand-in host editor's own work replaces this file.
#include <windows.h>
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
