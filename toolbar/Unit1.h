#pragma once
// TForm1: the application's main form, never shown. Its toolbar is planted inside the host
// editor's toolbar; the form owns the toolbar, both menus, their image lists and the watchdog.

#include <memory>
#include <string>

#include "menus/LaunchPopup.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

class TToolBar1;  // the planted toolbar and its controls (toolbar/ToolBar1.h)

class TForm1 : public toolkit::Window {
public:
    // Loads the form (controls, image lists, menus; Timer1 armed), then runs FormCreate. An error
    // inside FormCreate ends it at that step and is shown in the standard error box.
    TForm1();
    ~TForm1() override;

    // Closing the main form ends the application.
    void Close();

    // Components, named as in the form description.
    std::unique_ptr<toolkit::TImageList> ImageList1;  // hot (colour) toolbar images; the tag menu's images
    std::unique_ptr<toolkit::TImageList> ImageList2;  // normal (grey) toolbar images
    std::unique_ptr<toolkit::TImageList> ImageList3;  // icons of the favorites menu
    std::unique_ptr<TToolBar1> ToolBar1;
    toolkit::TPopupMenu PopupMenu;                    // the tag menu
    TLaunchPopup LaunchPopup;                         // the favorites menu
    toolkit::TMenuItem* loading = nullptr;            // LaunchPopup's design-time item
    std::unique_ptr<toolkit::Timer> Timer1;

    // Set-up and the watchdog (toolbar/Unit1.cpp).
    void FormCreate();
    void LoadSettings();
    void PlaceToolbar();
    void AppMessage(MSG& msg, bool& handled);
    void Timer1Timer();
    void Btn_CloseClick();
    void Btn_NavigateClick();
    void URLKeyDown(WORD& key);
    void URLKeyPress(char& key);

    // The tag menu (toolbar/TagCommands.cpp). SetUpPopupMenu applies the design-time settings.
    void SetUpPopupMenu();
    void BuildTagMenu();
    toolkit::TMenuItem& AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption);
    toolkit::TMenuItem& AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index);
    void Insert(toolkit::TMenuItem& sender);
    void ToolButton1Click();

    // The document preview (toolbar/Preview.cpp).
    void Btn_KestrixtoBrouserClick();

    // The favorites menu (toolbar/Favorites.cpp). SetUpLaunchPopup applies the design-time
    // settings and creates the loading item.
    void SetUpLaunchPopup();
    void PointLaunchPopupAtFavorites();
    void loadingClick(toolkit::TMenuItem& sender);
    void LaunchPopupItemClick(toolkit::TObject& Sender);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int MenuPosition = 0;
};

// The main form, valid from its creation at start-up to the end of the program.
extern TForm1* Form1;
