#pragma once
// TForm2: the browser window. Created hidden at start-up; closing it only hides it.
// (Skeleton: the browser window's own work fills in the rest of this class.)

#include <memory>
#include <string>

#include "browser/WebBrowser.h"
#include "toolkit/Window.h"

class TForm2 : public toolkit::Window {
public:
    TForm2();  // throws toolkit::Error when the browser control cannot be created
    ~TForm2() override;

    // Makes the window visible if it is hidden and raises it to the top.
    void Show();

    std::unique_ptr<TWebBrowser> WebBrowser;
};

// The one browser window, valid from its creation at start-up to the end of the program.
extern TForm2* Form2;
