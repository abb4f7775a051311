#include "tests/testbed/ScriptedBrowser/ScriptedBrowserControl.h"

#include <olectl.h>

#include <utility>

namespace scriptedbrowser {

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kPumpClass[] = L"ScriptedBrowserPump";
constexpr UINT kCompleteNavigation = WM_APP + 1;

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(ThisModule(), name, &wc)) return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ThisModule();
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
}

BSTR CopyBstr(const std::wstring& text) { return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

bool Omitted(const VARIANT* argument) {
    return argument && argument->vt == VT_ERROR && argument->scode == DISP_E_PARAMNOTFOUND;
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

// ---- ScriptedDispatch ----

ComPtr<ScriptedDispatch> ScriptedDispatch::Create() {
    return ComPtr<ScriptedDispatch>(new ScriptedDispatch());
}

STDMETHODIMP ScriptedDispatch::QueryInterface(REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP_(ULONG) ScriptedDispatch::AddRef() noexcept { return static_cast<ULONG>(++references_); }
STDMETHODIMP_(ULONG) ScriptedDispatch::Release() noexcept {
    const LONG left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}
STDMETHODIMP ScriptedDispatch::GetTypeInfoCount(UINT* count) noexcept {
    if (count) *count = 0;
    return S_OK;
}
STDMETHODIMP ScriptedDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}
ScriptedDispatch::~ScriptedDispatch() {
    for (auto& property : properties_) ::VariantClear(&property.second);
}

void ScriptedDispatch::SetProperty(const std::wstring& name, const VARIANT& value) {
    VARIANT copy;
    ::VariantInit(&copy);
    ::VariantCopy(&copy, const_cast<VARIANT*>(&value));
    properties_.emplace_back(name, copy);
}

STDMETHODIMP ScriptedDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (!names || !ids || count != 1) return E_INVALIDARG;
    for (size_t i = 0; i < properties_.size(); ++i) {
        if (properties_[i].first == names[0]) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}
STDMETHODIMP ScriptedDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                      UINT*) noexcept {
    if (id < 1 || static_cast<size_t>(id) > properties_.size() || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    ::VariantInit(result);
    return ::VariantCopy(result, &properties_[static_cast<size_t>(id) - 1].second);
}

// ---- ScriptedBrowserControl: scripting ----

ComPtr<ScriptedBrowserControl> ScriptedBrowserControl::Create(bool browsing, Logger logger) {
    return ComPtr<ScriptedBrowserControl>(new ScriptedBrowserControl(browsing, std::move(logger)));
}

ScriptedBrowserControl::ScriptedBrowserControl(bool browsing, Logger logger)
    : browsing_(browsing), logger_(std::move(logger)) {
    RegisterClassOnce(kPumpClass, &PumpProcedure, nullptr);
    pump_ = ::CreateWindowExW(0, kPumpClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
    ::SetWindowLongPtrW(pump_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ScriptedBrowserControl::~ScriptedBrowserControl() {
    InPlaceDeactivate();
    if (pump_) ::DestroyWindow(pump_);
}

void ScriptedBrowserControl::SetLocation(const std::wstring& url, const std::wstring& name) {
    locationURL_ = url;
    locationName_ = name;
}

void ScriptedBrowserControl::FailMethod(const std::wstring& method, HRESULT result, const std::wstring& description) {
    methodFailures_[method] = Failure{result, description};
}

void ScriptedBrowserControl::FailProperty(DISPID id, HRESULT result, const std::wstring& description) {
    propertyFailures_[id] = Failure{result, description};
}

void ScriptedBrowserControl::ClearFailures() {
    methodFailures_.clear();
    propertyFailures_.clear();
}

int ScriptedBrowserControl::PropertyReads(DISPID id) const {
    const auto found = propertyReads_.find(id);
    return found == propertyReads_.end() ? 0 : found->second;
}

void ScriptedBrowserControl::Log(const std::wstring& line) {
    calls_.push_back(line);
    if (logger_) logger_(line);
}

HRESULT ScriptedBrowserControl::Fail(const Failure& failure) {
    if (failure.description.empty()) return failure.result;
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(create.GetAddressOf()))) {
        create->SetGUID(kWebBrowser2);
        create->SetSource(const_cast<LPOLESTR>(L"ScriptedBrowser"));
        create->SetDescription(const_cast<LPOLESTR>(failure.description.c_str()));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.Get());
    }
    return failure.result;
}

const ScriptedBrowserControl::Failure* ScriptedBrowserControl::MethodFailure(const std::wstring& method) const {
    const auto found = methodFailures_.find(method);
    return found == methodFailures_.end() ? nullptr : &found->second;
}

void ScriptedBrowserControl::Fire(DISPID id, DISPPARAMS& arguments) {
    // A sink may disconnect while it handles the event.
    std::vector<ComPtr<IDispatch>> sinks;
    for (const auto& entry : sinks_) sinks.push_back(entry.second);
    ComPtr<ScriptedBrowserControl> self(this);
    for (const ComPtr<IDispatch>& sink : sinks)
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &arguments, nullptr, nullptr, nullptr);
}

void ScriptedBrowserControl::FireCommandStateChange(LONG command, VARIANT_BOOL enable) {
    VARIANT arguments[2];
    ::VariantInit(&arguments[0]);
    ::VariantInit(&arguments[1]);
    arguments[0].vt = VT_BOOL;
    arguments[0].boolVal = enable;
    arguments[1].vt = VT_I4;
    arguments[1].lVal = command;
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    Fire(105, parameters);
}

void ScriptedBrowserControl::FireNavigateComplete2(IDispatch* frame, const std::wstring& url) {
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = CopyBstr(url);
    VARIANT arguments[2];
    ::VariantInit(&arguments[0]);
    ::VariantInit(&arguments[1]);
    arguments[0].vt = VT_VARIANT | VT_BYREF;
    arguments[0].pvarVal = &address;
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = frame ? frame : static_cast<IWebBrowser2*>(this);
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    ComPtr<IDispatch> keep(arguments[1].pdispVal);
    Fire(252, parameters);
    ::VariantClear(&address);
}

void ScriptedBrowserControl::FireTitleChange(const std::wstring& title) {
    VARIANT argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = CopyBstr(title);
    DISPPARAMS parameters{&argument, nullptr, 1, 0};
    Fire(113, parameters);
    ::VariantClear(&argument);
}

void ScriptedBrowserControl::FireEvent(DISPID id, std::vector<VARIANT> argumentsLastFirst) {
    DISPPARAMS parameters{argumentsLastFirst.data(), nullptr, static_cast<UINT>(argumentsLastFirst.size()), 0};
    Fire(id, parameters);
}

// ---- the engine's commands to its host ----

HRESULT ScriptedBrowserControl::ExecOnSite(const GUID* group, DWORD id, VARIANT* in, VARIANT* out) {
    ComPtr<IOleCommandTarget> target;
    if (!site_ || FAILED(site_.As(&target))) return E_NOINTERFACE;
    return target->Exec(group, id, OLECMDEXECOPT_DODEFAULT, in, out);
}

namespace {

VARIANT TextVariant(const std::wstring& text) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = CopyBstr(text);
    return value;
}

VARIANT NumberVariant(long number) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

VARIANT ObjectVariant(IDispatch* object) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_DISPATCH;
    value.pdispVal = object;  // borrowed: SetProperty copies it with a reference of its own
    return value;
}

}  // namespace

ScriptErrorOutcome ScriptedBrowserControl::RaiseScriptError(const ScriptedScriptError& error) {
    const ComPtr<ScriptedDispatch> event = ScriptedDispatch::Create();
    const std::pair<const wchar_t*, VARIANT> fields[] = {
        {L"errorMessage", TextVariant(error.message)}, {L"errorLine", NumberVariant(error.line)},
        {L"errorCharacter", NumberVariant(error.character)}, {L"errorCode", NumberVariant(error.code)},
        {L"errorUrl", TextVariant(error.url)}};
    for (auto [name, value] : fields) {
        event->SetProperty(name, value);
        ::VariantClear(&value);
    }
    const ComPtr<ScriptedDispatch> window = ScriptedDispatch::Create();
    window->SetProperty(L"event", ObjectVariant(event.Get()));
    const ComPtr<ScriptedDispatch> document = ScriptedDispatch::Create();
    document->SetProperty(L"parentWindow", ObjectVariant(window.Get()));

    VARIANT in, out;
    ::VariantInit(&in);
    ::VariantInit(&out);
    in.vt = VT_UNKNOWN;
    in.punkVal = static_cast<IDispatch*>(document.Get());
    ScriptErrorOutcome outcome;
    outcome.result = ExecOnSite(&kDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, &in, &out);
    outcome.boxShown = outcome.result != S_OK;
    outcome.scriptsGoOn = !outcome.boxShown && out.vt == VT_BOOL && out.boolVal != VARIANT_FALSE;
    ::VariantClear(&out);
    if (outcome.boxShown) Log(L"ScriptErrorBox");
    return outcome;
}

void ScriptedBrowserControl::SetPageDialogOpen(bool open) {
    if (frame_) frame_->EnableModeless(open ? FALSE : TRUE);
}

// ---- simulated browsing ----

HRESULT ScriptedBrowserControl::StartStep(int direction) {
    const int target = historyIndex_ + direction;
    if (target < 0 || target >= static_cast<int>(history_.size()))
        return Fail(Failure{E_FAIL, L"Scripted: no page in that direction"});
    historyIndex_ = target;
    ::PostMessageW(pump_, kCompleteNavigation, static_cast<WPARAM>(target), 0);
    return S_OK;
}

// The page at index has loaded; a later step may already have moved on, which its own
// completion reports.
void ScriptedBrowserControl::CompleteNavigation(size_t index) {
    if (index >= history_.size()) return;
    const std::wstring url = history_[index];
    SetLocation(url, L"Scripted: " + url);
    if (!document_) document_ = ScriptedDispatch::Create();
    ComPtr<ScriptedBrowserControl> self(this);
    const int at = static_cast<int>(index);
    FireCommandStateChange(2, at > 0 ? VARIANT_TRUE : VARIANT_FALSE);
    FireCommandStateChange(1, at + 1 < static_cast<int>(history_.size()) ? VARIANT_TRUE : VARIANT_FALSE);
    FireNavigateComplete2(nullptr, url);
}

LRESULT CALLBACK ScriptedBrowserControl::PumpProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ScriptedBrowserControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kCompleteNavigation) {
        self->CompleteNavigation(static_cast<size_t>(wParam));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// ---- IUnknown ----

STDMETHODIMP ScriptedBrowserControl::QueryInterface(REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp)
        *out = static_cast<IWebBrowser2*>(this);
    else if (iid == kWebBrowser2) {
        ++automationQueries_;
        *out = static_cast<IWebBrowser2*>(this);
    } else if (iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
        *out = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IOleInPlaceActiveObject)
        *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IConnectionPoint)
        *out = static_cast<IConnectionPoint*>(this);
    else if (iid == IID_ISupportErrorInfo)
        *out = static_cast<ISupportErrorInfo*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ScriptedBrowserControl::AddRef() noexcept { return static_cast<ULONG>(++references_); }

STDMETHODIMP_(ULONG) ScriptedBrowserControl::Release() noexcept {
    const LONG left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// ---- IDispatch ----

STDMETHODIMP ScriptedBrowserControl::GetTypeInfoCount(UINT* count) noexcept {
    if (count) *count = 0;
    return S_OK;
}
STDMETHODIMP ScriptedBrowserControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ScriptedBrowserControl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
    return E_NOTIMPL;
}

STDMETHODIMP ScriptedBrowserControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                            EXCEPINFO* exception, UINT*) noexcept {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    ++propertyReads_[id];
    if (const auto failure = propertyFailures_.find(id); failure != propertyFailures_.end()) {
        if (failure->second.description.empty() || !exception) return failure->second.result;
        *exception = EXCEPINFO{};
        exception->scode = failure->second.result;
        exception->bstrSource = ::SysAllocString(L"ScriptedBrowser");
        exception->bstrDescription = CopyBstr(failure->second.description);
        return DISP_E_EXCEPTION;
    }
    if (!result) return E_POINTER;
    ::VariantInit(result);
    switch (id) {
    case kDocument:
        result->vt = VT_DISPATCH;
        result->pdispVal = document_.Get();
        if (document_) document_->AddRef();
        return S_OK;
    case kLocationName:
        result->vt = VT_BSTR;
        result->bstrVal = CopyBstr(locationName_);
        return S_OK;
    case kLocationURL:
        result->vt = VT_BSTR;
        result->bstrVal = CopyBstr(locationURL_);
        return S_OK;
    case kBusy:
        result->vt = VT_BOOL;
        result->boolVal = busy_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// ---- IWebBrowser ----

STDMETHODIMP ScriptedBrowserControl::Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                                              VARIANT* Headers) noexcept {
    const std::wstring url = URL ? std::wstring(URL, ::SysStringLen(URL)) : std::wstring();
    Log(L"Navigate " + url);
    navigateArgumentsOmitted_.push_back(Omitted(Flags) && Omitted(TargetFrameName) && Omitted(PostData) &&
                                        Omitted(Headers));
    if (const Failure* failure = MethodFailure(L"Navigate")) return Fail(*failure);
    if (browsing_) {
        if (historyIndex_ + 1 < static_cast<int>(history_.size()))
            history_.resize(static_cast<size_t>(historyIndex_ + 1));
        history_.push_back(url);
        historyIndex_ = static_cast<int>(history_.size()) - 1;
        ::PostMessageW(pump_, kCompleteNavigation, static_cast<WPARAM>(historyIndex_), 0);
    }
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GoBack() noexcept {
    Log(L"GoBack");
    if (const Failure* failure = MethodFailure(L"GoBack")) return Fail(*failure);
    return browsing_ ? StartStep(-1) : S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GoForward() noexcept {
    Log(L"GoForward");
    if (const Failure* failure = MethodFailure(L"GoForward")) return Fail(*failure);
    return browsing_ ? StartStep(+1) : S_OK;
}

STDMETHODIMP ScriptedBrowserControl::Refresh() noexcept {
    Log(L"Refresh");
    if (const Failure* failure = MethodFailure(L"Refresh")) return Fail(*failure);
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::Stop() noexcept {
    Log(L"Stop");
    if (const Failure* failure = MethodFailure(L"Stop")) return Fail(*failure);
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::get_Document(IDispatch** document) noexcept {
    if (!document) return E_POINTER;
    *document = document_.Get();
    if (*document) (*document)->AddRef();
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::get_LocationName(BSTR* name) noexcept {
    if (!name) return E_POINTER;
    *name = CopyBstr(locationName_);
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::get_LocationURL(BSTR* url) noexcept {
    if (!url) return E_POINTER;
    *url = CopyBstr(locationURL_);
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::get_Busy(VARIANT_BOOL* busy) noexcept {
    if (!busy) return E_POINTER;
    *busy = busy_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// ---- IOleObject ----

STDMETHODIMP ScriptedBrowserControl::SetClientSite(IOleClientSite* site) noexcept {
    site_ = site;
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GetClientSite(IOleClientSite** site) noexcept {
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::Close(DWORD) noexcept {
    InPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) noexcept {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE) return E_NOTIMPL;
    if (inPlaceSite_) return S_OK;
    ComPtr<IOleClientSite> activeSite = site ? site : site_.Get();
    if (!activeSite) return E_UNEXPECTED;
    ComPtr<IOleInPlaceSite> inPlaceSite;
    if (FAILED(activeSite.As(&inPlaceSite))) return E_NOINTERFACE;
    if (inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlaceSite->OnInPlaceActivate();
    HWND parent = nullptr;
    if (FAILED(inPlaceSite->GetWindow(&parent)) || !parent) return E_FAIL;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    if (FAILED(inPlaceSite->GetWindowContext(frame_.ReleaseAndGetAddressOf(), uiWindow_.ReleaseAndGetAddressOf(),
                                             &position, &clip, &frameInfo)))
        return E_FAIL;
    RegisterClassOnce(kViewClass, &ViewProcedure, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    view_ = ::CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, position.left,
                              position.top, position.right - position.left, position.bottom - position.top, parent,
                              nullptr, ThisModule(), nullptr);
    if (!view_) return E_FAIL;
    ::SetWindowLongPtrW(view_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    viewParent_ = parent;
    position_ = position;
    inPlaceSite_ = inPlaceSite;
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GetUserClassID(CLSID* id) noexcept {
    if (!id) return E_POINTER;
    *id = kWebBrowserClass;
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GetMiscStatus(DWORD, DWORD* status) noexcept {
    if (!status) return E_POINTER;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
              OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// ---- in place ----

STDMETHODIMP ScriptedBrowserControl::GetWindow(HWND* window) noexcept {
    if (!window) return E_POINTER;
    *window = view_;
    return view_ ? S_OK : E_FAIL;
}

STDMETHODIMP ScriptedBrowserControl::InPlaceDeactivate() noexcept {
    if (!inPlaceSite_) return S_OK;
    ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    if (view_) {
        ::SetWindowLongPtrW(view_, GWLP_USERDATA, 0);
        ::DestroyWindow(view_);
    }
    view_ = nullptr;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    frame_.Reset();
    uiWindow_.Reset();
    site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::SetObjectRects(LPCRECT position, LPCRECT) noexcept {
    if (!position) return E_POINTER;
    position_ = *position;
    if (view_)
        ::MoveWindow(view_, position->left, position->top, position->right - position->left,
                     position->bottom - position->top, TRUE);
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::TranslateAccelerator(LPMSG message) noexcept {
    if (!message) return E_POINTER;
    if (IsKeyMessage(message->message)) translatedKeys_.push_back(static_cast<UINT>(message->wParam));
    return translatesKeys_ && message->message == WM_KEYDOWN ? S_OK : S_FALSE;
}

void ScriptedBrowserControl::UIActivate() {
    if (!inPlaceSite_) return;
    inPlaceSite_->OnUIActivate();
    if (frame_) frame_->SetActiveObject(this, L"ScriptedBrowser");
}

LRESULT CALLBACK ScriptedBrowserControl::ViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ScriptedBrowserControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        if (IsKeyMessage(message)) self->keysReachingView_.push_back(static_cast<UINT>(wParam));
        if (message == WM_SETFOCUS) self->UIActivate();
        if (message == WM_LBUTTONDOWN) ::SetFocus(window);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// ---- connection point ----

STDMETHODIMP ScriptedBrowserControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != kWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GetConnectionInterface(IID* iid) noexcept {
    if (!iid) return E_POINTER;
    *iid = kWebBrowserEvents2;
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::GetConnectionPointContainer(IConnectionPointContainer** container) noexcept {
    if (!container) return E_POINTER;
    *container = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::Advise(IUnknown* sink, DWORD* cookie) noexcept {
    if (!sink || !cookie) return E_POINTER;
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(kWebBrowserEvents2, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_[*cookie] = dispatch;
    return S_OK;
}

STDMETHODIMP ScriptedBrowserControl::Unadvise(DWORD cookie) noexcept {
    return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ScriptedBrowserControl::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
    return iid == kWebBrowser2 ? S_OK : S_FALSE;
}

}  // namespace scriptedbrowser
