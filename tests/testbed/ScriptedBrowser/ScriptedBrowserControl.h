#pragma once
// A scripted stand-in for the web browser control: a COM object that can be hosted in place,
// answers the automation interface and the property reads by dispatch id that the browser window
// uses, and offers the event interface through a connection point. It records every call, fires
// events when told to, and fails chosen methods and property reads with chosen result codes,
// with or without an error description.
//
// In-process tests create it through Create and hand it to the window through the host's object
// factory; scriptedbrowser.dll serves it, with its simulated browsing switched on, to separate
// processes.

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace scriptedbrowser {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
inline constexpr CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr IID kWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
// {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}
inline constexpr IID kWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

inline constexpr DISPID kDocument = 203;
inline constexpr DISPID kLocationName = 210;
inline constexpr DISPID kLocationURL = 211;
inline constexpr DISPID kBusy = 212;

// {F38BC242-B950-11D1-8918-00C04FC2C836}: the group of the commands an engine sends to its host.
inline constexpr GUID kDocHostCommandHandler = {0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};

// The window class of the stand-in's in-place window.
inline constexpr wchar_t kViewClass[] = L"ScriptedBrowserView";

// A plain dispatch object standing for a document, a frame or another script object; its
// references can be watched, and it answers the properties it is given by name.
class ScriptedDispatch final : public IDispatch {
public:
    static Microsoft::WRL::ComPtr<ScriptedDispatch> Create();
    LONG References() const noexcept { return references_; }
    // A property that scripts read by name: a copy of value is kept.
    void SetProperty(const std::wstring& name, const VARIANT& value);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
    STDMETHODIMP_(ULONG) AddRef() noexcept override;
    STDMETHODIMP_(ULONG) Release() noexcept override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept override;

private:
    ScriptedDispatch() = default;
    ~ScriptedDispatch();
    LONG references_ = 0;  // the first reference is the creator's
    std::vector<std::pair<std::wstring, VARIANT>> properties_;  // dispatch id: index + 1
};

// An error in the page's scripts as the engine reports it.
struct ScriptedScriptError {
    std::wstring message;
    long line = 0;
    long character = 0;
    long code = 0;
    std::wstring url;
};

// What became of a script error that the stand-in reported to its site.
struct ScriptErrorOutcome {
    HRESULT result = E_FAIL;   // the site's answer to the command
    bool boxShown = false;     // the site did not take it: the engine would have shown its own box
    bool scriptsGoOn = false;  // the site asked for the page's scripts to go on running
};

class ScriptedBrowserControl final : public IWebBrowser2,
                                     public IOleObject,
                                     public IOleInPlaceObject,
                                     public IOleInPlaceActiveObject,
                                     public IConnectionPointContainer,
                                     public IConnectionPoint,
                                     public ISupportErrorInfo {
public:
    // Receives every logged line: "Navigate <url>", "GoBack", "GoForward", "Refresh", "Stop".
    using Logger = std::function<void(const std::wstring& line)>;

    // browsing: simulate page loads (see tests/testbed/ScriptedBrowser.h); otherwise the control
    // only records calls and events come when a test fires them.
    static Microsoft::WRL::ComPtr<ScriptedBrowserControl> Create(bool browsing = false, Logger logger = {});

    // What a test sets.
    void SetLocation(const std::wstring& url, const std::wstring& name);
    void SetDocument(Microsoft::WRL::ComPtr<IDispatch> document) { document_ = std::move(document); }
    void SetBusy(bool busy) noexcept { busy_ = busy; }
    // Fails the method (by name: "Navigate", "GoBack", ...) or the property read from now on.
    // With a description, the failure leaves an error object that carries it.
    void FailMethod(const std::wstring& method, HRESULT result, const std::wstring& description = {});
    void FailProperty(DISPID id, HRESULT result, const std::wstring& description = {});
    void ClearFailures();
    void SetTranslatesKeys(bool translates) noexcept { translatesKeys_ = translates; }

    // Events, fired at once to every connected sink.
    void FireCommandStateChange(LONG command, VARIANT_BOOL enable);
    void FireNavigateComplete2(IDispatch* frame, const std::wstring& url);  // frame null: the control
    void FireTitleChange(const std::wstring& title);
    void FireEvent(DISPID id, std::vector<VARIANT> argumentsLastFirst);

    // The engine's side of its host's commands: sends IOleCommandTarget::Exec to the client site
    // (E_NOINTERFACE when the site has no command target).
    HRESULT ExecOnSite(const GUID* group, DWORD id, VARIANT* in, VARIANT* out);
    // An error in the page's scripts, reported as the engine does: the document goes to the site
    // with the "show script error" command, and the error is the event object of the document's
    // window (errorMessage, errorLine, errorCharacter, errorCode, errorUrl). A site that does not
    // take the command leaves the engine to show its box: logged as "ScriptErrorBox".
    ScriptErrorOutcome RaiseScriptError(const ScriptedScriptError& error);
    // A dialog of the page (alert, confirm) opens or closes: the engine disables and enables its
    // frame's modeless windows, as it does around such a dialog.
    void SetPageDialogOpen(bool open);

    // What a test reads.
    const std::vector<std::wstring>& Calls() const noexcept { return calls_; }
    // For each Navigate, whether its four optional arguments all came as omitted.
    const std::vector<bool>& NavigateArgumentsOmitted() const noexcept { return navigateArgumentsOmitted_; }
    int PropertyReads(DISPID id) const;
    int AutomationQueries() const noexcept { return automationQueries_; }
    LONG References() const noexcept { return references_; }
    bool HasClientSite() const noexcept { return site_ != nullptr; }
    bool InPlaceActive() const noexcept { return inPlaceSite_ != nullptr; }
    size_t Sinks() const noexcept { return sinks_.size(); }
    HWND View() const noexcept { return view_; }
    HWND ViewParent() const noexcept { return viewParent_; }
    const RECT& Position() const noexcept { return position_; }
    // Key messages offered through TranslateAccelerator, and key messages that reached the view.
    const std::vector<UINT>& TranslatedKeys() const noexcept { return translatedKeys_; }
    const std::vector<UINT>& KeysReachingView() const noexcept { return keysReachingView_; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
    STDMETHODIMP_(ULONG) AddRef() noexcept override;
    STDMETHODIMP_(ULONG) Release() noexcept override;

    // IDispatch: property reads by dispatch id.
    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO* exception,
                        UINT*) noexcept override;

    // IWebBrowser
    STDMETHODIMP GoBack() noexcept override;
    STDMETHODIMP GoForward() noexcept override;
    STDMETHODIMP GoHome() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                          VARIANT* Headers) noexcept override;
    STDMETHODIMP Refresh() noexcept override;
    STDMETHODIMP Refresh2(VARIANT*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP Stop() noexcept override;
    STDMETHODIMP get_Application(IDispatch**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch** document) noexcept override;
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR* name) noexcept override;
    STDMETHODIMP get_LocationURL(BSTR* url) noexcept override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* busy) noexcept override;
    // IWebBrowserApp
    STDMETHODIMP Quit() noexcept override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int*, int*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    // IWebBrowser2
    STDMETHODIMP Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) noexcept override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) noexcept override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) noexcept override { return S_OK; }
    STDMETHODIMP Close(DWORD) noexcept override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) noexcept override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP Update() noexcept override { return S_OK; }
    STDMETHODIMP IsUpToDate() noexcept override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* id) noexcept override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) noexcept override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
    // (IOleObject::Unadvise and IConnectionPoint::Unadvise share one signature: see below.)
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) noexcept override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) noexcept override { return E_NOTIMPL; }

    // IOleWindow (for both in-place interfaces)
    STDMETHODIMP GetWindow(HWND* window) noexcept override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() noexcept override;
    STDMETHODIMP UIDeactivate() noexcept override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) noexcept override;
    STDMETHODIMP ReactivateAndUndo() noexcept override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG message) noexcept override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) noexcept override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) noexcept override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) noexcept override { return S_OK; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) noexcept override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept override;
    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) noexcept override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) noexcept override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) noexcept override;
    STDMETHODIMP Unadvise(DWORD cookie) noexcept override;
    STDMETHODIMP EnumConnections(IEnumConnections**) noexcept override { return E_NOTIMPL; }

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) noexcept override;

private:
    struct Failure {
        HRESULT result;
        std::wstring description;
    };

    ScriptedBrowserControl(bool browsing, Logger logger);
    ~ScriptedBrowserControl();

    void Log(const std::wstring& line);
    HRESULT Fail(const Failure& failure);
    const Failure* MethodFailure(const std::wstring& method) const;
    HRESULT StartStep(int direction);
    void CompleteNavigation(size_t index);
    void Fire(DISPID id, DISPPARAMS& arguments);
    void UIActivate();
    static LRESULT CALLBACK ViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PumpProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LONG references_ = 0;  // the first reference is the creator's
    bool browsing_;
    Logger logger_;
    std::vector<std::wstring> calls_;
    std::vector<bool> navigateArgumentsOmitted_;
    std::map<DISPID, int> propertyReads_;
    int automationQueries_ = 0;
    std::map<std::wstring, Failure> methodFailures_;
    std::map<DISPID, Failure> propertyFailures_;

    std::wstring locationURL_;
    std::wstring locationName_;
    Microsoft::WRL::ComPtr<IDispatch> document_;
    bool busy_ = false;
    std::vector<std::wstring> history_;
    int historyIndex_ = -1;

    Microsoft::WRL::ComPtr<IOleClientSite> site_;
    Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite_;
    Microsoft::WRL::ComPtr<IOleInPlaceFrame> frame_;
    Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> uiWindow_;
    HWND view_ = nullptr;
    HWND viewParent_ = nullptr;
    HWND pump_ = nullptr;
    RECT position_{};
    bool translatesKeys_ = true;
    std::vector<UINT> translatedKeys_;
    std::vector<UINT> keysReachingView_;

    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace scriptedbrowser
