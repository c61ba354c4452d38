// Win32 + COM: the browser control. Wraps the WebView2 environment, controller and web view
// (our own declarations, WebView2Com.h), a child window of our class that the controller is
// hosted in (CreateWindowExW), the STA the browser needs (CoInitializeEx) and a subclass of the
// top-level window (SetWindowSubclass) that tells the browser when it is minimised or restored.
#include "platform/win32/EdgeBrowser.h"

#include "platform/win32/WebView2Loader.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"
#include "platform/MessageBox.h"

#include <commctrl.h>

namespace Velmora::Platform {

namespace {

constexpr wchar_t BrowserClass[] = L"Velmora.EdgeBrowser";
// Posted to the control's window by its creation: the web view's creation starts from the loop.
constexpr UINT WM_START_CREATION = WM_APP + 0x42;

const char* const NotInstantiated = "WebView2 not instantiated";
const char* const CreationFailedMessage = "Failed to create Edge browser control";

// Each event hands the browser's arguments to the owner's handler, if one is assigned.
template <typename EventArgs, typename Args>
HRESULT Raise(TCustomEdgeBrowser& self, std::function<void(TCustomEdgeBrowser&, EventArgs&)>& event, Args* args) {
    if (!event) return S_OK;
    EventArgs eventArgs(args);
    event(self, eventArgs);
    return S_OK;
}

} // namespace

// What an unhandled error in a callback comes to: the box of any unhandled error of the program.
void ReportCallbackError(const std::exception& error) { ShowSystemErrorBox(Shared::FromUtf8(error.what()), u"Error"); }

// The thread's COM apartment, entered for as long as the control lives. A thread that is already
// in one keeps it (the browser then reports the mismatch).
class TCustomEdgeBrowser::TComApartment {
public:
    TComApartment() : FEntered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TComApartment() {
        if (FEntered) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    bool FEntered;
};

TCustomEdgeBrowser::TCustomEdgeBrowser(HWND parent, const RECT& bounds)
    : FApartment(std::make_unique<TComApartment>()), FLifeline(std::make_shared<TCustomEdgeBrowser*>(this)) {
    const wchar_t* cls = EnsureWindowClass({BrowserClass, ForwardingWindowProc<TCustomEdgeBrowser>});
    FWindow.reset(CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, bounds.left,
                                  bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                  GetModuleHandleW(nullptr), this));
    FTopLevel = GetAncestor(parent, GA_ROOT);
    // One subclass per control, so two controls in one window do not replace each other's.
    if (FTopLevel)
        SetWindowSubclass(FTopLevel, TopLevelProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    if (FWindow) PostMessageW(FWindow.get(), WM_START_CREATION, 0, 0);
}

TCustomEdgeBrowser::~TCustomEdgeBrowser() {
    *FLifeline = nullptr;
    if (FTopLevel) RemoveWindowSubclass(FTopLevel, TopLevelProc, reinterpret_cast<UINT_PTR>(this));
    for (const auto& remove : FSubscriptions) remove();
    // Close also lets go of every handler the browser still holds.
    if (FController) Check(FController->Close());
    FWindow.reset(); // after Close: the browser's windows are children of ours
}

HRESULT TCustomEdgeBrowser::LastErrorCode() const {
    const std::lock_guard lock(FLastErrorLock);
    return FLastErrorCode;
}

HRESULT TCustomEdgeBrowser::Check(HRESULT result) {
    const std::lock_guard lock(FLastErrorLock);
    FLastErrorCode = result;
    return result;
}

template <typename Interface, typename Function>
ComPtr<Interface> TCustomEdgeBrowser::Bind(Function function) {
    return MakeComHandler<Interface>([lifeline = std::weak_ptr(FLifeline), function](auto... args) -> HRESULT {
        const auto self = lifeline.lock();
        if (!self || !*self) return S_OK;
        return function(**self, args...);
    });
}

// ----- creation: environment, controller, web view and settings, then the event

void TCustomEdgeBrowser::CreateWebView() {
    if (FCreationStarted) return;
    FCreationStarted = true;
    const auto handler = Bind<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [](TCustomEdgeBrowser& self, HRESULT result, ICoreWebView2Environment* environment) {
            return self.EnvironmentCreated(result, environment);
        });
    const HRESULT started = Check(CreateCoreWebView2Environment(LoaderLibraryPath, handler.Get()));
    if (FAILED(started)) CreationFailed(started);
}

void TCustomEdgeBrowser::CreationFailed(HRESULT result) {
    Check(result);
    if (!OnCreateWebViewCompleted) throw EEdgeError(CreationFailedMessage, result);
    OnCreateWebViewCompleted(*this, result);
}

HRESULT TCustomEdgeBrowser::EnvironmentCreated(HRESULT result, ICoreWebView2Environment* environment) {
    Check(result);
    if (SUCCEEDED(result) && !environment) result = Check(E_POINTER);
    if (FAILED(result)) {
        CreationFailed(result);
        return S_OK;
    }
    FEnvironment = environment;
    // A controller that arrives after the control has gone is closed at once.
    const auto handler = MakeComHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
        [lifeline = std::weak_ptr(FLifeline)](HRESULT result, ICoreWebView2Controller* controller) -> HRESULT {
            const auto self = lifeline.lock();
            if (self && *self) return (*self)->ControllerCreated(result, controller);
            if (controller) controller->Close();
            return S_OK;
        });
    const HRESULT started = Check(FEnvironment->CreateCoreWebView2Controller(FWindow.get(), handler.Get()));
    if (FAILED(started)) CreationFailed(started);
    return S_OK;
}

HRESULT TCustomEdgeBrowser::ControllerCreated(HRESULT result, ICoreWebView2Controller* controller) {
    Check(result);
    if (SUCCEEDED(result) && !controller) result = Check(E_POINTER);
    ComPtr<ICoreWebView2> webView;
    ComPtr<ICoreWebView2Settings> settings;
    if (SUCCEEDED(result)) result = Check(controller->get_CoreWebView2(&webView));
    if (SUCCEEDED(result)) result = Check(webView->get_Settings(&settings));
    if (FAILED(result)) {
        if (controller) controller->Close();
        CreationFailed(result);
        return S_OK;
    }
    FController = controller;
    FWebView = std::move(webView);
    FSettings = std::move(settings);
    if (OnCreateWebViewCompleted) OnCreateWebViewCompleted(*this, S_OK);
    Subscribe();
    UpdateBounds();
    UpdateVisibility();
    return S_OK;
}

// ----- events

template <typename Target, typename Handler>
void TCustomEdgeBrowser::Subscribe(Target* source,
                                   HRESULT (STDMETHODCALLTYPE Target::*add)(Handler*, EventRegistrationToken*),
                                   HRESULT (STDMETHODCALLTYPE Target::*remove)(EventRegistrationToken),
                                   ComPtr<Handler> handler) {
    EventRegistrationToken token{};
    if (FAILED(Check((source->*add)(handler.Get(), &token)))) return;
    FSubscriptions.push_back([source = ComPtr<Target>(source), remove, token] { (source.Get()->*remove)(token); });
}

void TCustomEdgeBrowser::Subscribe() {
    ICoreWebView2* view = FWebView.Get();
    Subscribe(view, &ICoreWebView2::add_NavigationCompleted, &ICoreWebView2::remove_NavigationCompleted,
              Bind<ICoreWebView2NavigationCompletedEventHandler>(
                  [](TCustomEdgeBrowser& self, ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
                      return Raise(self, self.OnNavigationCompleted, args);
                  }));
    Subscribe(view, &ICoreWebView2::add_NewWindowRequested, &ICoreWebView2::remove_NewWindowRequested,
              Bind<ICoreWebView2NewWindowRequestedEventHandler>(
                  [](TCustomEdgeBrowser& self, ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
                      return Raise(self, self.OnNewWindowRequested, args);
                  }));
    Subscribe(view, &ICoreWebView2::add_PermissionRequested, &ICoreWebView2::remove_PermissionRequested,
              Bind<ICoreWebView2PermissionRequestedEventHandler>(
                  [](TCustomEdgeBrowser& self, ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
                      return Raise(self, self.OnPermissionRequested, args);
                  }));
    Subscribe(view, &ICoreWebView2::add_WebResourceRequested, &ICoreWebView2::remove_WebResourceRequested,
              Bind<ICoreWebView2WebResourceRequestedEventHandler>(
                  [](TCustomEdgeBrowser& self, ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
                      return Raise(self, self.OnWebResourceRequested, args);
                  }));
    Subscribe(view, &ICoreWebView2::add_WebMessageReceived, &ICoreWebView2::remove_WebMessageReceived,
              Bind<ICoreWebView2WebMessageReceivedEventHandler>(
                  [](TCustomEdgeBrowser& self, ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
                      return Raise(self, self.OnWebMessageReceived, args);
                  }));
    Subscribe(
        view, &ICoreWebView2::add_DocumentTitleChanged, &ICoreWebView2::remove_DocumentTitleChanged,
        Bind<ICoreWebView2DocumentTitleChangedEventHandler>([](TCustomEdgeBrowser& self, ICoreWebView2*, IUnknown*) {
            if (self.OnDocumentTitleChanged) self.OnDocumentTitleChanged(self);
            return S_OK;
        }));
    Subscribe(view, &ICoreWebView2::add_ProcessFailed, &ICoreWebView2::remove_ProcessFailed,
              Bind<ICoreWebView2ProcessFailedEventHandler>(
                  [](TCustomEdgeBrowser& self, ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
                      return Raise(self, self.OnProcessFailed, args);
                  }));
    Subscribe(
        FController.Get(), &ICoreWebView2Controller::add_AcceleratorKeyPressed,
        &ICoreWebView2Controller::remove_AcceleratorKeyPressed,
        Bind<ICoreWebView2AcceleratorKeyPressedEventHandler>(
            [](TCustomEdgeBrowser& self, ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
                // Shortcuts act on key-down, as the window's own keys do.
                COREWEBVIEW2_KEY_EVENT_KIND kind{};
                if (!self.OnShortcut || !args || FAILED(self.Check(args->get_KeyEventKind(&kind)))) return S_OK;
                const bool system = kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN;
                if (kind != COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN && !system) return S_OK;
                TShortcutKey key{0, 0, system};
                if (FAILED(self.Check(args->get_VirtualKey(&key.VirtualKey))) ||
                    FAILED(self.Check(args->get_KeyEventLParam(&key.KeyData))))
                    return S_OK;
                if (self.OnShortcut(key)) self.Check(args->put_Handled(TRUE));
                return S_OK;
            }));
}

// ----- operations

void TCustomEdgeBrowser::Navigate(Shared::TextView uri) {
    if (FWebView) Check(FWebView->Navigate(Wide(Shared::Text(uri))));
}

void TCustomEdgeBrowser::ExecuteScript(Shared::TextView script) {
    if (!FWebView) return;
    // The result is not used; a handler that ignores it is given all the same, since a browser
    // may insist on one.
    const auto ignore =
        MakeComHandler<ICoreWebView2ExecuteScriptCompletedHandler>([](HRESULT, LPCWSTR) { return S_OK; });
    Check(FWebView->ExecuteScript(Wide(Shared::Text(script)), ignore.Get()));
}

void TCustomEdgeBrowser::PostWebMessageAsJson(Shared::TextView json) {
    if (FWebView) Check(FWebView->PostWebMessageAsJson(Wide(Shared::Text(json))));
}

void TCustomEdgeBrowser::AddScriptToExecuteOnDocumentCreated(Shared::TextView script) {
    if (FWebView) Check(FWebView->AddScriptToExecuteOnDocumentCreated(Wide(Shared::Text(script)), nullptr));
}

void TCustomEdgeBrowser::AddWebResourceRequestedFilter(Shared::TextView uri,
                                                       COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    if (FWebView) Check(FWebView->AddWebResourceRequestedFilter(Wide(Shared::Text(uri)), context));
}

Shared::Text TCustomEdgeBrowser::Source() {
    TCoTaskString source;
    if (!FWebView || FAILED(Check(FWebView->get_Source(source.Put())))) return {};
    return source.ToText();
}

Shared::Text TCustomEdgeBrowser::DocumentTitle() {
    TCoTaskString title;
    if (!FWebView || FAILED(Check(FWebView->get_DocumentTitle(title.Put())))) return {};
    return title.ToText();
}

void TCustomEdgeBrowser::PutSetting(HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings::*put)(BOOL), bool value) {
    if (!FSettings) throw EEdgeError(NotInstantiated, Check(E_FAIL));
    Check((FSettings.Get()->*put)(value ? TRUE : FALSE));
}

void TCustomEdgeBrowser::SetScriptEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_IsScriptEnabled, value);
}
void TCustomEdgeBrowser::SetStatusBarEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_IsStatusBarEnabled, value);
}
void TCustomEdgeBrowser::SetWebMessageEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_IsWebMessageEnabled, value);
}
void TCustomEdgeBrowser::SetBuiltInErrorPageEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_IsBuiltInErrorPageEnabled, value);
}
void TCustomEdgeBrowser::SetZoomControlEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_IsZoomControlEnabled, value);
}
void TCustomEdgeBrowser::SetDevToolsEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_AreDevToolsEnabled, value);
}
void TCustomEdgeBrowser::SetDefaultContextMenusEnabled(bool value) {
    PutSetting(&ICoreWebView2Settings::put_AreDefaultContextMenusEnabled, value);
}

ComPtr<ICoreWebView2WebResourceResponse> TCustomEdgeBrowser::CreateWebResourceResponse(const Shared::Bytes& content,
                                                                                       int statusCode,
                                                                                       Shared::TextView reasonPhrase,
                                                                                       Shared::TextView headers) {
    if (!FEnvironment) return nullptr;
    // A stream over its own copy of the content, positioned at the start; released with the
    // response.
    ComPtr<IStream> stream;
    if (FAILED(Check(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))) return nullptr;
    ULARGE_INTEGER size;
    size.QuadPart = content.size();
    ULONG written = 0;
    if (FAILED(Check(stream->SetSize(size))) ||
        FAILED(Check(stream->Write(content.data(), static_cast<ULONG>(content.size()), &written))) ||
        written != content.size())
        return nullptr;
    LARGE_INTEGER start{};
    if (FAILED(Check(stream->Seek(start, STREAM_SEEK_SET, nullptr)))) return nullptr;
    ComPtr<ICoreWebView2WebResourceResponse> response;
    if (FAILED(Check(FEnvironment->CreateWebResourceResponse(stream.Get(), statusCode, Wide(Shared::Text(reasonPhrase)),
                                                             Wide(Shared::Text(headers)), &response))))
        return nullptr;
    return response;
}

double TCustomEdgeBrowser::ZoomFactor() {
    double factor = 1.0;
    if (FController && FAILED(Check(FController->get_ZoomFactor(&factor)))) return 1.0;
    return factor;
}

void TCustomEdgeBrowser::SetZoomFactor(double factor) {
    if (FController) Check(FController->put_ZoomFactor(factor));
}

// ----- the window: bounds, visibility, focus

void TCustomEdgeBrowser::UpdateBounds() {
    if (!FController) return;
    RECT bounds{};
    GetClientRect(FWindow.get(), &bounds);
    Check(FController->put_Bounds(bounds));
}

void TCustomEdgeBrowser::UpdateVisibility() {
    if (!FController) return;
    // Hidden while our window or an ancestor is hidden, and while the top-level is minimised.
    const bool shown = IsWindowVisible(FWindow.get()) && !(FTopLevel && IsIconic(FTopLevel));
    if (FShownInBrowser == shown) return;
    FShownInBrowser = shown;
    Check(FController->put_IsVisible(shown ? TRUE : FALSE));
}

LRESULT TCustomEdgeBrowser::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_START_CREATION:
            // The window procedure is a boundary the exception must not cross either.
            try {
                CreateWebView();
            } catch (const std::exception& error) {
                ReportCallbackError(error);
            }
            return 0;
        case WM_SIZE: UpdateBounds(); return 0;
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam); // sends WM_SIZE
            UpdateVisibility();
            return result;
        }
        case WM_SETFOCUS:
            if (FController) Check(FController->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC));
            return 0;
        case WM_ERASEBKGND: return EraseWithFaceColor(hwnd, wParam);
        case WM_NCDESTROY:
            // Destroyed with its parent: nothing left for us to destroy.
            FWindow.release();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK TCustomEdgeBrowser::TopLevelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                  DWORD_PTR data) {
    auto* self = reinterpret_cast<TCustomEdgeBrowser*>(data);
    if (message == WM_NCDESTROY) {
        // The top-level window goes first: nothing to watch or unhook any more.
        RemoveWindowSubclass(hwnd, TopLevelProc, id);
        self->FTopLevel = nullptr;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    // Minimising, restoring, showing or hiding the top-level window.
    if (message == WM_SIZE || message == WM_WINDOWPOSCHANGED) self->UpdateVisibility();
    return result;
}

} // namespace Velmora::Platform
