#pragma once
// TWebBrowser: the web browser control behind one class.
// (Skeleton: the browser window's own work fills in the rest of this class.)

#include <string>

class TWebBrowser {
public:
    // Starts loading url (wide text, passed unchanged) and returns at once.
    void Navigate(const std::wstring& url);
};
