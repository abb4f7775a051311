#pragma once
// The browser window as live preview sees it: whether it is showing, where it is, its live button,
// and the two things live preview does with it. Live preview lives with the preview command; the
// window tells it what changes through a listener.

#include <string>

namespace browser {

class LiveView {
public:
    class Listener {
    public:
        virtual void LiveSwitched() = 0;    // the live button was clicked
        virtual void ShowingChanged() = 0;  // the window was shown, hidden, minimised or restored
        virtual void ViewGone() = 0;        // the window is going: nothing more comes from it
    protected:
        ~Listener() = default;
    };

    // The window reports to listener from now on; null: to no one.
    virtual void SetLiveListener(Listener* listener) = 0;

    virtual bool LiveOn() const = 0;           // the live button is pressed
    virtual bool Showing() const = 0;          // visible, and not minimised
    // A dialog of the page (alert, confirm, leaving the page) is open: the page must stay as it is.
    virtual bool PageDialogOpen() const = 0;
    virtual std::wstring Address() const = 0;  // the page's address as the browser reports it
    // The page again, where the reader is in it (not a new navigation, which would start at the
    // top); a browser that refuses to reload is sent to the same address instead.
    virtual void Reload() = 0;
    virtual void GoTo(const std::wstring& address) = 0;
    // Says quietly, without a box, why live preview could not show the latest text; empty: it did.
    virtual void ShowLiveProblem(const std::wstring& problem) = 0;

protected:
    ~LiveView() = default;
};

}  // namespace browser
