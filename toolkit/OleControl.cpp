#include "toolkit/OleControl.h"

#include <cwchar>
#include <utility>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"

namespace toolkit {

using Microsoft::WRL::ComPtr;

namespace {

TOleControl::ObjectFactory& FactorySlot() {
    static TOleControl::ObjectFactory factory;
    return factory;
}

HRESULT CreateFromRegistry(const CLSID& classId, IUnknown** object) {
    return ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(object));
}

// Messages end in a full stop, a line break or blanks; the error box adds its own full stop.
std::wstring TrimTrailingPunctuation(std::wstring text) {
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
    return text;
}

std::wstring SystemMessage(HRESULT result) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    return text;
}

// The description that the failing object left in the thread's error object, if any.
std::wstring ThreadErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return {};
    Bstr description;
    BSTR raw = nullptr;
    if (FAILED(info->GetDescription(&raw))) return {};
    description.Reset(raw);
    return description ? std::wstring(description.Get(), ::SysStringLen(description.Get())) : std::wstring();
}

}  // namespace

std::wstring OleErrorText(HRESULT result, const wchar_t* description) {
    std::wstring text = TrimTrailingPunctuation(description ? description : L"");
    if (!text.empty()) return text;
    text = TrimTrailingPunctuation(SystemMessage(result));
    if (!text.empty()) return text;
    wchar_t fallback[32] = {};
    std::swprintf(fallback, 32, L"OLE エラー %.8x", static_cast<unsigned int>(result));
    return fallback;
}

// The control's client site and in-place frame. The control may keep references to it after
// its host has gone; from then on it answers without calling back.
class TOleControl::Site final : public IOleClientSite,
                                 public IOleInPlaceSite,
                                 public IOleInPlaceFrame,
                                 public IOleCommandTarget {
public:
    Site(TOleControl& owner, HWND parent) : owner_(&owner), parent_(parent) {}
    void Detach() noexcept {
        owner_ = nullptr;
        activeObject_.Reset();
    }
    IOleInPlaceActiveObject* ActiveObject() const noexcept { return activeObject_.Get(); }
    bool ModelessDisabled() const noexcept { return modelessDisabled_ > 0; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IOleCommandTarget)
            *out = static_cast<IOleCommandTarget*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() noexcept override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() noexcept override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) noexcept override {
        if (moniker) *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) noexcept override {
        if (container) *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() noexcept override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() noexcept override { return E_NOTIMPL; }

    // IOleWindow, for the site and the frame alike: the control's windows live in the parent.
    STDMETHODIMP GetWindow(HWND* window) noexcept override {
        if (!window) return E_POINTER;
        *window = parent_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() noexcept override { return owner_ ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() noexcept override { return S_OK; }
    STDMETHODIMP OnUIActivate() noexcept override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) noexcept override {
        if (frame) *frame = nullptr;
        if (document) *document = nullptr;
        if (!frame || !document || !position || !clip) return E_POINTER;
        if (!owner_) return E_UNEXPECTED;
        *frame = this;
        AddRef();
        *position = owner_->bounds_;
        *clip = owner_->bounds_;
        if (frameInfo) {
            frameInfo->fMDIApp = FALSE;
            frameInfo->hwndFrame = ::GetAncestor(parent_, GA_ROOT);
            frameInfo->haccel = nullptr;
            frameInfo->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() noexcept override {
        activeObject_.Reset();
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() noexcept override { return E_NOTIMPL; }
    // The window decides the control's place; it follows the window's size.
    STDMETHODIMP OnPosRectChange(LPCRECT) noexcept override { return S_OK; }

    // IOleInPlaceUIWindow: the control gets no tool space of its own.
    STDMETHODIMP GetBorder(LPRECT) noexcept override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) noexcept override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) noexcept override {
        return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
    }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) noexcept override {
        activeObject_ = owner_ ? active : nullptr;
        return S_OK;
    }

    // IOleInPlaceFrame: no shared menus, no status line, no accelerators of the frame's own.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) noexcept override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) noexcept override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) noexcept override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL enable) noexcept override {
        modelessDisabled_ = enable ? (modelessDisabled_ > 0 ? modelessDisabled_ - 1 : 0) : modelessDisabled_ + 1;
        return S_OK;
    }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) noexcept override { return S_FALSE; }

    // IOleCommandTarget: the control's commands go to its host while it is there.
    STDMETHODIMP QueryStatus(const GUID* group, ULONG, OLECMD*, OLECMDTEXT*) noexcept override {
        return group ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
    }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out) noexcept override {
        if (!owner_) return group ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
        return owner_->CommandFromControl(group, id, in, out);
    }

private:
    ~Site() = default;

    LONG references_ = 0;  // the first reference is its host's
    TOleControl* owner_;
    HWND parent_;
    ComPtr<IOleInPlaceActiveObject> activeObject_;
    int modelessDisabled_ = 0;  // EnableModeless(FALSE) calls not yet matched by TRUE
};

// Receives the control's events and hands them to the host while it is there.
class TOleControl::EventSink final : public IDispatch {
public:
    EventSink(TOleControl& owner, const IID& eventsId) : owner_(&owner), eventsId_(eventsId) {}
    void Detach() noexcept { owner_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == eventsId_) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() noexcept override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() noexcept override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* arguments, VARIANT* result, EXCEPINFO*,
                        UINT*) noexcept override {
        if (result) ::VariantInit(result);
        if (owner_) {
            static const DISPPARAMS none{};
            // Keeps this sink alive should the handler end the host.
            ComPtr<IDispatch> self(this);
            owner_->DispatchEvent(id, arguments ? *arguments : none);
        }
        return S_OK;
    }

private:
    ~EventSink() = default;

    LONG references_ = 0;  // the first reference is its host's
    TOleControl* owner_;
    IID eventsId_;
};

void TOleControl::SetObjectFactory(ObjectFactory factory) { FactorySlot() = std::move(factory); }

TOleControl::TOleControl() = default;

TOleControl::~TOleControl() { Disconnect(); }

void TOleControl::CreateControl(const CLSID& classId, const IID& eventsId, HWND parent, const RECT& bounds) {
    bounds_ = bounds;
    const ObjectFactory& factory = FactorySlot();
    const HRESULT created = factory ? factory(classId, object_.GetAddressOf()) : CreateFromRegistry(classId, object_.GetAddressOf());
    if (FAILED(created) || !object_) throw Error(OleErrorText(FAILED(created) ? created : E_NOINTERFACE, nullptr));
    Check(object_.As(&oleObject_));
    site_ = new Site(*this, parent);
    ClearErrorInfo();
    Check(oleObject_->SetClientSite(site_.Get()));
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(object_.As(&persist))) {
        ClearErrorInfo();
        Check(persist->InitNew());
    }
    ConnectEvents(eventsId);
    Activate(parent);
    App().AddPreTranslator(this);
    preTranslating_ = true;
}

void TOleControl::ConnectEvents(const IID& eventsId) {
    ComPtr<IConnectionPointContainer> container;
    Check(object_.As(&container));
    ClearErrorInfo();
    Check(container->FindConnectionPoint(eventsId, connectionPoint_.ReleaseAndGetAddressOf()));
    sink_ = new EventSink(*this, eventsId);
    ClearErrorInfo();
    const HRESULT advised = connectionPoint_->Advise(sink_.Get(), &adviseCookie_);
    if (FAILED(advised)) {
        connectionPoint_.Reset();
        Check(advised);
    }
}

void TOleControl::Activate(HWND parent) {
    ClearErrorInfo();
    Check(oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent, &bounds_));
    if (SUCCEEDED(object_.As(&inPlaceObject_))) inPlaceObject_->SetObjectRects(&bounds_, &bounds_);
}

void TOleControl::Disconnect() noexcept {
    if (preTranslating_) App().RemovePreTranslator(this);
    preTranslating_ = false;
    // From here on nothing the control fires reaches the (partly destroyed) derived class.
    if (sink_) sink_->Detach();
    if (connectionPoint_) connectionPoint_->Unadvise(adviseCookie_);
    connectionPoint_.Reset();
    if (inPlaceObject_) inPlaceObject_->InPlaceDeactivate();
    inPlaceObject_.Reset();
    if (oleObject_) {
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
    }
    oleObject_.Reset();
    if (site_) site_->Detach();
    dispatch_.Reset();
    object_.Reset();
    site_.Reset();
    sink_.Reset();
}

void TOleControl::SetBounds(const RECT& bounds) {
    bounds_ = bounds;
    if (inPlaceObject_) inPlaceObject_->SetObjectRects(&bounds_, &bounds_);
}

HWND TOleControl::ControlWindow() const noexcept {
    HWND window = nullptr;
    if (!inPlaceObject_ || FAILED(inPlaceObject_->GetWindow(&window))) return nullptr;
    return window;
}

void TOleControl::GetProperty(DISPID id, OleVariant& value) const {
    if (!dispatch_) Check(object_.As(&dispatch_));
    DISPPARAMS none{};
    EXCEPINFO exception{};
    ClearErrorInfo();
    ::VariantClear(value.Get());
    const HRESULT result =
        dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.Get(), &exception, nullptr);
    if (result != DISP_E_EXCEPTION) {
        Check(result);
        return;
    }
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    const Bstr description(exception.bstrDescription);
    const Bstr source(exception.bstrSource);
    const Bstr helpFile(exception.bstrHelpFile);
    const HRESULT code = exception.scode != 0 ? exception.scode : static_cast<HRESULT>(exception.wCode);
    throw Error(OleErrorText(FAILED(code) ? code : result, description.Get()));
}

void TOleControl::Check(HRESULT result) {
    if (SUCCEEDED(result)) return;
    const std::wstring description = ThreadErrorDescription();
    throw Error(OleErrorText(result, description.c_str()));
}

void TOleControl::ClearErrorInfo() noexcept { ::SetErrorInfo(0, nullptr); }

HRESULT TOleControl::CommandFromControl(const GUID* group, DWORD, VARIANT*, VARIANT*) noexcept {
    return group ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
}

bool TOleControl::ControlDialogOpen() const noexcept { return site_ && site_->ModelessDisabled(); }

void TOleControl::DispatchEvent(DISPID id, const DISPPARAMS& arguments) noexcept {
    App().Guard([&] { EventFired(id, arguments); });
}

bool TOleControl::PreTranslate(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    const HWND control = ControlWindow();
    if (!control || (message.hwnd != control && !::IsChild(control, message.hwnd))) return false;
    ComPtr<IOleInPlaceActiveObject> active = site_ ? site_->ActiveObject() : nullptr;
    if (!active && object_) object_.As(&active);
    return active && active->TranslateAccelerator(&message) == S_OK;
}

}  // namespace toolkit
