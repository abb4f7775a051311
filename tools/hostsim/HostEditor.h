#pragma once
// The editor window: the main window with its hidden children, its toolbar, the document's name
// and the text area, the answers to the protocol's messages, and the document's commands.

#include <windows.h>

#include <string>

#include "tools/hostsim/HostSimLog.h"
#include "tools/hostsim/HostSimOptions.h"

namespace hostsim {

class HostEditor {
public:
    explicit HostEditor(Options options)
        : options_(std::move(options)), layout_(options_.layout), log_(options_.log) {}

    // Registers the window classes: the main window's, the hidden children's, the toolbar's and
    // the document name's edit box.
    static bool RegisterClasses(HINSTANCE instance);
    bool Create(HINSTANCE instance, int show);
    HWND Main() const { return main_; }
    HACCEL Accelerators() const { return accelerators_; }

private:
    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // HostEditorWindow.cpp: the windows and the messages.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void CreateToolbar();
    void Layout();
    void OnCommand(int id);
    void OnTimer(UINT_PTR id);
    LRESULT OnSave();
    LRESULT OnTakeText(WPARAM mode, LPARAM size);
    void InsertAtCaret(const std::string& bytes);
    void ScheduleToolbarTimers();
    void DestroyToolbar();
    void BringToFront();

    // HostEditorDocument.cpp: the document and its file.
    void LoadInitialDocument();
    void SetDocument(const std::string& bytes, const std::wstring& fileName, bool modified);
    bool SaveTo(const std::wstring& path);
    bool SaveInteractive(bool askForName);
    bool ConfirmDiscard();
    void NewDocument();
    void OpenDocument();
    void UpdateTitle();
    std::wstring DocumentName() const;

    Options options_;
    int layout_;
    ProtocolLog log_;
    HINSTANCE instance_ = nullptr;
    HWND main_ = nullptr;
    HWND exeName_ = nullptr;
    HWND iniPath_ = nullptr;
    HWND fileName_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND memo_ = nullptr;
    HFONT font_ = nullptr;
    HACCEL accelerators_ = nullptr;
    int startAttempts_ = 0;
    std::string lastInserted_;        // the text of the latest 0x819B insertion at the caret
    LONGLONG lastInsertTime_ = 0;     // the performance counter just after the latest insertion
};

}  // namespace hostsim
