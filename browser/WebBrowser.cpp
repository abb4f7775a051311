// Skeleton: the browser window's own work replaces this file.
#include "browser/WebBrowser.h"

void TWebBrowser::Navigate(const std::wstring&) {}
