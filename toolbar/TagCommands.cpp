// The tag menu on the form's side: its settings, building it from Tag.ini, inserting the chosen
// entry into the host, and the button that opens Tag.ini in the host for editing.

#include <windows.h>
#include <shellapi.h>

#include "hostlink/Kestrix.h"
#include "menus/TagMenu.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Text.h"

void TForm1::SetUpPopupMenu() {
    PopupMenu.SetAutoHotkeys(false);
    PopupMenu.SetAutoLineReduction(true);
    PopupMenu.SetImages(ImageList1.get());
    PopupMenu.SetOwnerWindow(toolkit::App().Handle());
}

void TForm1::BuildTagMenu() {
    for (const menus::TagGroup& group : menus::LoadTagFile(menus::TagFilePath())) {
        toolkit::TMenuItem& groupItem = AddMenuItem(PopupMenu, group.caption);
        // Each entry goes in front of those read before it, so a group lists its entries bottom up.
        for (const std::string& entry : group.entries)
            AddSubMenuItem(groupItem, entry, 0).SetOnClick([this](toolkit::TMenuItem& sender) { Insert(sender); });
    }
}

toolkit::TMenuItem& TForm1::AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption) {
    return menu.Items().Add(std::make_unique<toolkit::TMenuItem>(caption));
}

toolkit::TMenuItem& TForm1::AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index) {
    return parent.Insert(index, std::make_unique<toolkit::TMenuItem>(caption));
}

void TForm1::Insert(toolkit::TMenuItem& sender) {
    // The caption as the file has it, "&" and all: the menu's drawing of it is not what is sent.
    kestrix::InsertTextIntoHost(kestrix::HostWindow, sender.Caption());
}

void TForm1::ToolButton1Click() {
    toolkit::App().MessageBox(L"設定ファイルが表示されるので、\r\n設定を編集後、Corvane with Kestrixを再起動してください。",
                              L"Corvane with Kestrix", MB_ICONWARNING | MB_OK);
    // The path goes to the host as it is, unquoted even when it holds blanks.
    const std::string hostExe = kestrix::GetHostExeName(kestrix::HostWindow);
    const std::wstring tagFile = menus::TagFilePath();
    ::ShellExecuteW(nullptr, nullptr, toolkit::AnsiToWide(hostExe).c_str(), tagFile.c_str(), nullptr, SW_SHOWNORMAL);
}
