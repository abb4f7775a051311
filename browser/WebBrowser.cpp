#include "browser/WebBrowser.h"

#include <exdispid.h>

#include <algorithm>
#include <iterator>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"

using Microsoft::WRL::ComPtr;

namespace browser {

namespace {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
constexpr CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
constexpr IID kWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
// {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}
constexpr IID kWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

// {F38BC242-B950-11D1-8918-00C04FC2C836}: the commands the engine sends to its host.
constexpr GUID kDocHostCommandHandler = {0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};

constexpr DISPID kDocument = 203;
constexpr DISPID kLocationName = 210;
constexpr DISPID kLocationURL = 211;
constexpr DISPID kBusy = 212;

// An optional argument left out of a call.
struct OmittedArgument {
    OmittedArgument() noexcept {
        ::VariantInit(&value);
        value.vt = VT_ERROR;
        value.scode = DISP_E_PARAMNOTFOUND;
    }
    VARIANT value;
};

// The argument as the given type, looking through references; false when it does not convert.
bool ArgumentAs(const VARIANT& argument, VARTYPE type, toolkit::OleVariant& converted) {
    return SUCCEEDED(::VariantChangeType(converted.Get(), const_cast<VARIANT*>(&argument), 0, type));
}

const VARIANT& Dereferenced(const VARIANT& argument) {
    if (argument.vt == (VT_VARIANT | VT_BYREF) && argument.pvarVal) return *argument.pvarVal;
    return argument;
}

std::wstring TextOf(const toolkit::OleVariant& value) {
    toolkit::OleVariant text;
    if (value.Value().vt == VT_EMPTY || value.Value().vt == VT_NULL) return {};
    if (FAILED(::VariantChangeType(text.Get(), const_cast<VARIANT*>(&value.Value()), 0, VT_BSTR)) || !text.Value().bstrVal) return {};
    return std::wstring(text.Value().bstrVal, ::SysStringLen(text.Value().bstrVal));
}

long NumberOf(const toolkit::OleVariant& value) {
    toolkit::OleVariant number;
    return ArgumentAs(value.Value(), VT_I4, number) ? static_cast<long>(number.Value().lVal) : 0;
}

// A property of a script object read by its name, as the page's scripts see it; empty when the
// object has no such property or fails the read.
void ReadNamed(IDispatch* object, const wchar_t* name, toolkit::OleVariant& value) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (!object || FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return;
    DISPPARAMS none{};
    ::VariantClear(value.Get());
    if (FAILED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.Get(), nullptr, nullptr)))
        ::VariantClear(value.Get());
}

ComPtr<IDispatch> ObjectOf(const VARIANT& value) {
    ComPtr<IDispatch> object;
    if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal)
        value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.GetAddressOf()));
    return object;
}

// The engine hands over the page's document; the error itself is the current event of the
// document's window.
TScriptError ScriptErrorOf(const VARIANT* document) {
    TScriptError error;
    if (!document) return error;
    toolkit::OleVariant window, event;
    ReadNamed(ObjectOf(*document).Get(), L"parentWindow", window);
    ReadNamed(ObjectOf(window.Value()).Get(), L"event", event);
    const ComPtr<IDispatch> details = ObjectOf(event.Value());
    toolkit::OleVariant message, line, character, code, url;
    ReadNamed(details.Get(), L"errorMessage", message);
    ReadNamed(details.Get(), L"errorLine", line);
    ReadNamed(details.Get(), L"errorCharacter", character);
    ReadNamed(details.Get(), L"errorCode", code);
    ReadNamed(details.Get(), L"errorUrl", url);
    error.message = TextOf(message);
    error.line = NumberOf(line);
    error.character = NumberOf(character);
    error.code = NumberOf(code);
    error.url = TextOf(url);
    return error;
}

}  // namespace

struct TWebBrowser::EventEntry {
    DISPID id;
    const wchar_t* name;
    void (TWebBrowser::*fire)(const DISPPARAMS& arguments);  // null: the window has no slot for it
};

// The events of the control's event interface, by dispatch id.
const TWebBrowser::EventEntry TWebBrowser::kEvents[] = {
    {DISPID_STATUSTEXTCHANGE, L"StatusTextChange", nullptr},
    {DISPID_PROGRESSCHANGE, L"ProgressChange", nullptr},
    {DISPID_COMMANDSTATECHANGE, L"CommandStateChange", &TWebBrowser::FireCommandStateChange},
    {DISPID_DOWNLOADBEGIN, L"DownloadBegin", &TWebBrowser::FireDownloadBegin},
    {DISPID_DOWNLOADCOMPLETE, L"DownloadComplete", nullptr},
    {DISPID_TITLECHANGE, L"TitleChange", nullptr},
    {DISPID_PROPERTYCHANGE, L"PropertyChange", nullptr},
    {DISPID_BEFORENAVIGATE2, L"BeforeNavigate2", nullptr},
    {DISPID_NEWWINDOW2, L"NewWindow2", nullptr},
    {DISPID_NAVIGATECOMPLETE2, L"NavigateComplete2", &TWebBrowser::FireNavigateComplete2},
    {DISPID_DOCUMENTCOMPLETE, L"DocumentComplete", nullptr},
    {DISPID_ONQUIT, L"OnQuit", nullptr},
    {DISPID_ONVISIBLE, L"OnVisible", nullptr},
    {DISPID_ONTOOLBAR, L"OnToolBar", nullptr},
    {DISPID_ONMENUBAR, L"OnMenuBar", nullptr},
    {DISPID_ONSTATUSBAR, L"OnStatusBar", nullptr},
    {DISPID_ONFULLSCREEN, L"OnFullScreen", nullptr},
    {DISPID_ONTHEATERMODE, L"OnTheaterMode", nullptr},
    {DISPID_WINDOWSETRESIZABLE, L"WindowSetResizable", nullptr},
    {DISPID_WINDOWSETLEFT, L"WindowSetLeft", nullptr},
    {DISPID_WINDOWSETTOP, L"WindowSetTop", nullptr},
    {DISPID_WINDOWSETWIDTH, L"WindowSetWidth", nullptr},
    {DISPID_WINDOWSETHEIGHT, L"WindowSetHeight", nullptr},
    {DISPID_WINDOWCLOSING, L"WindowClosing", nullptr},
    {DISPID_CLIENTTOHOSTWINDOW, L"ClientToHostWindow", nullptr},
    {DISPID_SETSECURELOCKICON, L"SetSecureLockIcon", nullptr},
    {DISPID_FILEDOWNLOAD, L"FileDownload", nullptr},
    {DISPID_NAVIGATEERROR, L"NavigateError", nullptr},
    {DISPID_PRINTTEMPLATEINSTANTIATION, L"PrintTemplateInstantiation", nullptr},
    {DISPID_PRINTTEMPLATETEARDOWN, L"PrintTemplateTeardown", nullptr},
    {DISPID_UPDATEPAGESTATUS, L"UpdatePageStatus", nullptr},
    {DISPID_PRIVACYIMPACTEDSTATECHANGE, L"PrivacyImpactedStateChange", nullptr},
};
TWebBrowser::TWebBrowser(HWND parent, const RECT& bounds) {
    CreateControl(kWebBrowserClass, kWebBrowserEvents2, parent, bounds);
}

TWebBrowser::~TWebBrowser() = default;

IWebBrowser2& TWebBrowser::Browser() {
    if (!browser_) {
        ComPtr<IWebBrowser2> browser;
        ClearErrorInfo();
        Check(ControlObject() ? ControlObject()->QueryInterface(kWebBrowser2, reinterpret_cast<void**>(browser.GetAddressOf()))
                              : E_UNEXPECTED);
        if (!browser) Check(E_NOINTERFACE);
        browser_ = std::move(browser);
    }
    return *browser_.Get();
}

void TWebBrowser::Navigate(const std::wstring& url) {
    IWebBrowser2& browser = Browser();
    const toolkit::Bstr address(::SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
    if (!address) Check(E_OUTOFMEMORY);
    OmittedArgument flags, targetFrameName, postData, headers;
    ClearErrorInfo();
    Check(browser.Navigate(address.Get(), &flags.value, &targetFrameName.value, &postData.value, &headers.value));
}

void TWebBrowser::GoBack() {
    IWebBrowser2& browser = Browser();
    ClearErrorInfo();
    Check(browser.GoBack());
}

void TWebBrowser::GoForward() {
    IWebBrowser2& browser = Browser();
    ClearErrorInfo();
    Check(browser.GoForward());
}

void TWebBrowser::Refresh() {
    IWebBrowser2& browser = Browser();
    ClearErrorInfo();
    Check(browser.Refresh());
}

void TWebBrowser::Stop() {
    IWebBrowser2& browser = Browser();
    ClearErrorInfo();
    Check(browser.Stop());
}

ComPtr<IDispatch> TWebBrowser::Document() const {
    toolkit::OleVariant value;
    GetProperty(kDocument, value);
    ComPtr<IDispatch> document;
    const VARIANT& v = value.Value();
    if (v.vt == VT_DISPATCH)
        document = v.pdispVal;
    else if (v.vt == VT_UNKNOWN && v.punkVal)
        v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(document.GetAddressOf()));
    return document;
}

std::wstring TWebBrowser::LocationName() const {
    toolkit::OleVariant value;
    GetProperty(kLocationName, value);
    return TextOf(value);
}

std::wstring TWebBrowser::LocationURL() const {
    toolkit::OleVariant value;
    GetProperty(kLocationURL, value);
    return TextOf(value);
}

bool TWebBrowser::Busy() const {
    toolkit::OleVariant value;
    GetProperty(kBusy, value);
    toolkit::OleVariant flag;
    if (!ArgumentAs(value.Value(), VT_BOOL, flag)) return false;
    return flag.Value().boolVal != VARIANT_FALSE;
}

void TWebBrowser::EventFired(DISPID id, const DISPPARAMS& arguments) {
    static_assert(std::size(kEvents) == 32, "every event of the interface has its entry");
    const auto entry = std::find_if(std::begin(kEvents), std::end(kEvents), [id](const EventEntry& e) { return e.id == id; });
    if (entry != std::end(kEvents) && entry->fire) (this->*(entry->fire))(arguments);
}

// The arguments arrive last first: rgvarg[0] is the event's last parameter.
void TWebBrowser::FireCommandStateChange(const DISPPARAMS& arguments) {
    if (!OnCommandStateChange || arguments.cArgs != 2 || !arguments.rgvarg) return;
    toolkit::OleVariant command, enable;
    if (!ArgumentAs(arguments.rgvarg[1], VT_I4, command) || !ArgumentAs(arguments.rgvarg[0], VT_BOOL, enable)) return;
    OnCommandStateChange(*this, static_cast<std::int32_t>(command.Value().lVal), enable.Value().boolVal);
}

void TWebBrowser::FireNavigateComplete2(const DISPPARAMS& arguments) {
    if (!OnNavigateComplete2 || arguments.cArgs != 2 || !arguments.rgvarg) return;
    const VARIANT& frame = Dereferenced(arguments.rgvarg[1]);
    IDispatch* pDisp = frame.vt == VT_DISPATCH ? frame.pdispVal : nullptr;
    OnNavigateComplete2(*this, pDisp, Dereferenced(arguments.rgvarg[0]));
}

void TWebBrowser::FireDownloadBegin(const DISPPARAMS&) {
    if (OnDownloadBegin) OnDownloadBegin(*this);
}

// The engine asks its host to show an error of the page's scripts. The host answers for it, so the
// engine opens no box of its own, and asks it to go on running the page's scripts.
HRESULT TWebBrowser::CommandFromControl(const GUID* group, DWORD id, VARIANT* in, VARIANT* out) noexcept {
    if (!group || *group != kDocHostCommandHandler) return TOleControl::CommandFromControl(group, id, in, out);
    if (id != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    if (out) {  // the engine hands over an empty variant
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    // Nothing about an error of the page may open a box: a failing handler is passed over.
    try {
        const TScriptError error = ScriptErrorOf(in);
        if (OnScriptError) OnScriptError(*this, error);
    } catch (...) {
    }
    return S_OK;
}

}  // namespace browser
