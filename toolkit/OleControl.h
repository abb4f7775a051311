#pragma once
// TOleControl: the host for an OLE control that lives in a window of ours. It creates the control
// object from its class identifier, acts as its client site and in-place frame, places it in the
// parent window, passes the keys typed in the control's windows to it as accelerators, connects
// to its event interface and reads its properties by dispatch id. A class derived from it names
// the control and its events.

#include <windows.h>
#include <docobj.h>
#include <oaidl.h>
#include <ocidl.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>

#include "toolkit/Application.h"
#include "toolkit/Object.h"

namespace toolkit {

// An owned VARIANT, cleared when it goes.
class OleVariant {
public:
    OleVariant() noexcept { ::VariantInit(&value_); }
    ~OleVariant() { ::VariantClear(&value_); }
    OleVariant(const OleVariant&) = delete;
    OleVariant& operator=(const OleVariant&) = delete;

    VARIANT* Get() noexcept { return &value_; }
    const VARIANT& Value() const noexcept { return value_; }

private:
    VARIANT value_;
};

// The text of an error for a failed OLE call: the object's own description when it gives one
// (trailing full stops, blanks and control characters removed), else the system's message for
// the result code, else "OLE エラー" and the code in hexadecimal.
std::wstring OleErrorText(HRESULT result, const wchar_t* description);

class TOleControl : public TObject, private MessagePreTranslator {
public:
    // Makes the control objects; the default is CoCreateInstance as an in-process or local server.
    using ObjectFactory = std::function<HRESULT(const CLSID& classId, IUnknown** object)>;
    // Test seam: controls created from now on get their object from factory instead of from the
    // registry. An empty factory puts the default back.
    static void SetObjectFactory(ObjectFactory factory);

    TOleControl(const TOleControl&) = delete;
    TOleControl& operator=(const TOleControl&) = delete;
    ~TOleControl() override;

    // Position and size in the parent's client area.
    void SetBounds(const RECT& bounds);
    const RECT& Bounds() const noexcept { return bounds_; }
    // The control's own in-place window; null when it has none.
    HWND ControlWindow() const noexcept;
    IUnknown* ControlObject() const noexcept { return object_.Get(); }

protected:
    TOleControl();

    // Creates the control object, connects eventsId's events and activates it in place inside
    // parent at bounds. Throws Error when the object cannot be created or activated. A derived
    // class calls it from its own constructor, so that events fired while the control starts
    // already reach the derived class's EventFired.
    void CreateControl(const CLSID& classId, const IID& eventsId, HWND parent, const RECT& bounds);

    // Reads a property by dispatch id; throws Error when the control fails the read.
    void GetProperty(DISPID id, OleVariant& value) const;
    // Throws Error for a failed call to the control (result a failure code); the description comes
    // from the thread's error object. Call ClearErrorInfo before the call that may fail.
    static void Check(HRESULT result);
    static void ClearErrorInfo() noexcept;

    // One event of the connected interface, with its arguments in reverse order as sent.
    virtual void EventFired(DISPID id, const DISPPARAMS& arguments) = 0;
    // A command that the control sends to its site (IOleCommandTarget::Exec). The default answers
    // that the site knows no such command, so that the control does what it does by itself. It
    // runs inside a COM call: nothing may be thrown out of it.
    virtual HRESULT CommandFromControl(const GUID* group, DWORD id, VARIANT* in, VARIANT* out) noexcept;
    // While the control shows a modal dialog of its own it asks its frame to disable modeless
    // windows (IOleInPlaceFrame::EnableModeless); true until it enables them again.
    bool ControlDialogOpen() const noexcept;

private:
    class Site;
    class EventSink;

    void Activate(HWND parent);
    void ConnectEvents(const IID& eventsId);
    void Disconnect() noexcept;
    void DispatchEvent(DISPID id, const DISPPARAMS& arguments) noexcept;
    bool PreTranslate(MSG& message) override;

    RECT bounds_{};
    Microsoft::WRL::ComPtr<IUnknown> object_;
    Microsoft::WRL::ComPtr<IOleObject> oleObject_;
    Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlaceObject_;
    mutable Microsoft::WRL::ComPtr<IDispatch> dispatch_;
    Microsoft::WRL::ComPtr<Site> site_;
    Microsoft::WRL::ComPtr<EventSink> sink_;
    Microsoft::WRL::ComPtr<IConnectionPoint> connectionPoint_;
    DWORD adviseCookie_ = 0;
    bool preTranslating_ = false;
};

}  // namespace toolkit
