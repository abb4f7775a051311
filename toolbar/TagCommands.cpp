// The tag menu on the form's side: its settings, filling it from Tag.ini and following the file's
// changes at each drop-down (the building itself is in menus/TagMenu), inserting the chosen entry
// into the host, and the button that opens Tag.ini in the host for editing.

#include <windows.h>
#include <shellapi.h>

#include "hostlink/Kestrix.h"
#include "menus/TagMenu.h"
#include "toolbar/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Text.h"

namespace toolbar {

void TForm1::SetUpPopupMenu() {
    PopupMenu.SetAutoHotkeys(false);
    PopupMenu.SetAutoLineReduction(true);
    PopupMenu.SetImages(ImageList1.get());
    PopupMenu.SetOwnerWindow(toolkit::App().Handle());
    PopupMenu.OnPopup = [this] {
        if (TagFile) TagFile->Follow();
    };
}

void TForm1::BuildTagMenu() {
    TagFile = std::make_unique<menus::TagMenuFile>(menus::TagFilePath(), PopupMenu,
                                                   [this](toolkit::TMenuItem& sender) { Insert(sender); });
}

void TForm1::Insert(toolkit::TMenuItem& sender) {
    // The entry as the file has it, "&" and all: the menu's drawing of it is not what is sent.
    hostlink::InsertTextIntoHost(hostlink::HostWindow, menus::TagEntryHostText(sender));
}

void TForm1::ToolButton1Click() {
    toolkit::App().MessageBox(L"設定ファイルが表示されるので、\r\n設定を編集後、保存すると次にタグメニューを開いたときから反映されます。",
                              L"Corvane with Kestrix", MB_ICONWARNING | MB_OK);
    // The path goes to the host as it is, unquoted even when it holds blanks.
    const std::string hostExe = hostlink::GetHostExeName(hostlink::HostWindow);
    const std::wstring tagFile = menus::TagFilePath();
    ::ShellExecuteW(nullptr, nullptr, toolkit::AnsiToWide(hostExe).c_str(), tagFile.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace toolbar
