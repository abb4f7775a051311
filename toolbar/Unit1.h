#pragma once
// TForm1: the application's main form, never shown. Its toolbar is planted inside the host
// editor's toolbar; the form owns the toolbar, both menus, their image lists and the watchdog.
// The toolbar's items are in toolbar/ToolbarItems.h; one table (ToolbarCommands, toolbar/Unit1.cpp)
// says which handler or menu each runs. Other code uses the form through Close only; the tests'
// view of its parts is the friend struct TForm1Parts.

#include <memory>
#include <span>
#include <string>

#include "menus/LaunchPopup.h"
#include "menus/TagMenu.h"
#include "toolbar/preview/PreviewCommand.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/Timer.h"
#include "toolkit/ToolBar.h"
#include "toolkit/Window.h"

namespace toolbar {

class TToolBar1;    // the planted toolbar and its controls (toolbar/ToolBar1.h)

class TForm1 : public toolkit::Window {
public:
    // Loads the form (controls, image lists, menus), runs FormCreate and then arms Timer1. An error
    // inside FormCreate ends it at that step and is shown in the standard error box.
    TForm1();
    ~TForm1() override;

    // Closing the main form ends the application.
    void Close();

private:
    friend struct TForm1Parts;  // the tests' view of the parts

    // Components, named as in the form description.
    std::unique_ptr<toolkit::TImageList> ImageList1;  // hot (colour) toolbar images; the tag menu's images
    std::unique_ptr<toolkit::TImageList> ImageList2;  // normal (grey) toolbar images
    std::unique_ptr<toolkit::TImageList> ImageList3;  // icons of the favorites menu
    std::unique_ptr<TToolBar1> ToolBar1;
    toolkit::TPopupMenu PopupMenu;                    // the tag menu
    std::unique_ptr<menus::TagMenuFile> TagFile;      // Tag.ini, which the tag menu follows
    menus::TLaunchPopup LaunchPopup;                        // the favorites menu
    toolkit::TMenuItem* loading = nullptr;            // LaunchPopup's design-time item
    toolkit::TMenuItem* loadProgress = nullptr;       // the progress line while the Favorites load
    std::unique_ptr<toolkit::Timer> Timer1;

    // Set-up and the watchdog (toolbar/Unit1.cpp).
    void FormCreate();
    void LoadSettings();
    void PlaceToolbar();
    void AppMessage(MSG& msg, bool& handled);
    void Timer1Timer();
    void Btn_CloseClick();
    void Btn_NavigateClick();

    // The tag menu (toolbar/TagCommands.cpp). SetUpPopupMenu applies the design-time settings.
    void SetUpPopupMenu();
    void BuildTagMenu();
    void Insert(toolkit::TMenuItem& sender);
    void ToolButton1Click();

    // The document preview, with live preview (toolbar/preview/).
    void Btn_KestrixtoBrouserClick();
    PreviewCommand Preview;

    // The favorites menu (toolbar/Favorites.cpp). SetUpLaunchPopup applies the design-time
    // settings and creates the loading item.
    void SetUpLaunchPopup();
    void PointLaunchPopupAtFavorites();
    void loadingClick(toolkit::TMenuItem& sender);
    void LaunchPopupLoadProgress(toolkit::TObject& Sender);
    void LaunchPopupLoaded(toolkit::TObject& Sender);
    void LaunchPopupItemClick(toolkit::TObject& Sender);

    static std::span<const toolkit::ToolCommand<TForm1>> ToolbarCommands();
    void ConnectToolBar();
    void ToolbarItemChosen(int id);
    void URLEnter();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int MenuPosition = 0;
};

// The main form, valid from its creation at start-up to the end of the program.
extern TForm1* Form1;

}  // namespace toolbar
