// The stand-in host editor: a small text editor that offers, from the host's side, everything the
// companion program relies on: its window classes and hidden child windows, the toolbar it plants
// into, the private messages and the shared block for inserted text. A person can use it as an
// editor; tests drive it through its options, its windows and the messages in HostSimControl.h,
// and read what it was asked from its log.
//
//   HostEditorWindow.cpp    the windows, the protocol's answers, the test messages and timers
//   HostEditorDocument.cpp  the document, its file and the File menu's commands
//   HostSimBlock.cpp        reading the shared block
//   HostSimLog.cpp          the protocol log
//   HostSimDialogs.cpp      file dialogs and message boxes
//   HostSimLaunch.cpp       starting the companion program
//   HostSimFiles.cpp        paths and file bytes
//   HostSimOptions.cpp      the command line

#include <windows.h>

#include "tools/hostsim/HostEditor.h"
#include "tools/hostsim/HostSimFiles.h"
#include "tools/hostsim/HostSimOptions.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    hostsim::HostEditor editor(hostsim::ParseCommandLine(::GetCommandLineW(), &hostsim::FileExists));
    if (!hostsim::HostEditor::RegisterClasses(instance) || !editor.Create(instance, show)) return 1;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::TranslateAcceleratorW(editor.Main(), editor.Accelerators(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::DestroyAcceleratorTable(editor.Accelerators());
    return static_cast<int>(message.wParam);
}
