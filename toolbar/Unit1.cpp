// Skeleton: the docked toolbar's own work replaces this file.
#include "toolbar/Unit1.h"

#include "hostlink/Kestrix.h"
#include "toolkit/Application.h"

TForm1* Form1 = nullptr;

class TToolBar1 {};

TForm1::TForm1() {
    toolkit::WindowPlacement placement;
    placement.style = WS_POPUP;
    placement.parent = toolkit::App().Handle();
    CreateWindowObject(toolkit::WindowClass{L"TForm1"}, L"Form1", placement);
    Timer1 = std::make_unique<toolkit::Timer>(1000, [this] { Timer1Timer(); });
    Timer1->SetEnabled(true);
}
TForm1::~TForm1() = default;
void TForm1::Close() { toolkit::App().Terminate(); }
void TForm1::Timer1Timer() {
    if (!::IsWindow(kestrix::ToHwnd(kestrix::HostWindow))) toolkit::App().Terminate();
}
LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }
