// Skeleton: the browser window's own work replaces this file.
#include "browser/Unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2() : WebBrowser(std::make_unique<TWebBrowser>()) {}
TForm2::~TForm2() = default;
void TForm2::Show() {}
