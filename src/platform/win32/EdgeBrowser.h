// The browser control: WebView2 hosted in a child window of ours. It loads the loader library,
// creates the environment, the controller on its own window and the web view, reports the
// creation, then forwards the browser's events and keeps the web view's bounds, visibility and
// focus in step with its window. Everything runs on the user-interface thread (an STA): the
// creation starts from the message loop and every completion arrives through it.
#pragma once

#include "platform/win32/ComHandler.h"
#include "platform/win32/WebView2Com.h"
#include "platform/win32/WinHandles.h"
#include "shared/Text.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

namespace Velmora::Platform {

// An error of the browser control, with the HRESULT that caused it.
class EEdgeError : public std::runtime_error {
public:
    EEdgeError(const char* message, HRESULT errorCode) : std::runtime_error(message), FErrorCode(errorCode) {}
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};

// An event's object: the browser's argument interface, held for the handler's duration.
template <typename Args>
class TEdgeEventArgs {
public:
    explicit TEdgeEventArgs(Args* args) : FArgs(args) {}
    Args* ArgsInterface() const { return FArgs.Get(); }

private:
    ComPtr<Args> FArgs;
};

using TNavigationCompletedEventArgs = TEdgeEventArgs<ICoreWebView2NavigationCompletedEventArgs>;
using TNewWindowRequestedEventArgs = TEdgeEventArgs<ICoreWebView2NewWindowRequestedEventArgs>;
using TPermissionRequestedEventArgs = TEdgeEventArgs<ICoreWebView2PermissionRequestedEventArgs>;
using TWebResourceRequestedEventArgs = TEdgeEventArgs<ICoreWebView2WebResourceRequestedEventArgs>;
using TWebMessageReceivedEventArgs = TEdgeEventArgs<ICoreWebView2WebMessageReceivedEventArgs>;
using TProcessFailedEventArgs = TEdgeEventArgs<ICoreWebView2ProcessFailedEventArgs>;

// A key pressed in the page that may be a shortcut of the window holding the browser.
struct TShortcutKey {
    UINT VirtualKey;
    INT KeyData;    // the WM_KEYDOWN / WM_SYSKEYDOWN lParam
    bool SystemKey; // with Alt: WM_SYSKEYDOWN
};

class TCustomEdgeBrowser {
public:
    // A child window of parent at the given bounds. Giving it a parent starts the creation of
    // the web view, which proceeds from the message loop.
    TCustomEdgeBrowser(HWND parent, const RECT& bounds);
    // Closes the web view.
    virtual ~TCustomEdgeBrowser();
    TCustomEdgeBrowser(const TCustomEdgeBrowser&) = delete;
    TCustomEdgeBrowser& operator=(const TCustomEdgeBrowser&) = delete;

    HWND Handle() const { return FWindow.get(); }

    // Where the WebView2 loader library is loaded from; set before the creation starts.
    Shared::Text LoaderLibraryPath;
    bool WebViewCreated() const { return FWebView != nullptr; }
    // The result of the last call into the browser.
    HRESULT LastErrorCode() const;
    // Records result, of a call into the browser, as LastErrorCode and returns it.
    HRESULT Check(HRESULT result);

    // Starts the creation now rather than from the message loop; later starts do nothing. A
    // failure goes to OnCreateWebViewCompleted, or raises EEdgeError when nothing handles it.
    void CreateWebView();

    // Operations on the web view; each does nothing before it exists.
    void Navigate(Shared::TextView uri);
    void ExecuteScript(Shared::TextView script); // the result is not awaited
    void PostWebMessageAsJson(Shared::TextView json);
    void AddScriptToExecuteOnDocumentCreated(Shared::TextView script); // nor is the script's id
    void AddWebResourceRequestedFilter(Shared::TextView uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context);
    Shared::Text DocumentTitle();
    // The top-level document's URI; empty before the web view exists.
    Shared::Text Source();

    // Settings; each raises EEdgeError "WebView2 not instantiated" before the web view exists.
    void SetScriptEnabled(bool value);
    void SetStatusBarEnabled(bool value);
    void SetWebMessageEnabled(bool value);
    void SetBuiltInErrorPageEnabled(bool value);
    void SetZoomControlEnabled(bool value);
    void SetDevToolsEnabled(bool value);
    void SetDefaultContextMenusEnabled(bool value);

    // A response whose body is a copy of content in a memory stream the response owns. Null
    // before the environment exists or when the browser refuses.
    ComPtr<ICoreWebView2WebResourceResponse> CreateWebResourceResponse(const Shared::Bytes& content, int statusCode,
                                                                       Shared::TextView reasonPhrase,
                                                                       Shared::TextView headers);

    // The zoom factor (1.0 before the web view exists).
    double ZoomFactor();
    void SetZoomFactor(double factor);

    // Events, assigned by the owner; each argument object lives for the handler's duration.
    std::function<void(TCustomEdgeBrowser& Sender, HRESULT Result)> OnCreateWebViewCompleted;
    std::function<void(TCustomEdgeBrowser& Sender, TNavigationCompletedEventArgs& Args)> OnNavigationCompleted;
    std::function<void(TCustomEdgeBrowser& Sender, TNewWindowRequestedEventArgs& Args)> OnNewWindowRequested;
    std::function<void(TCustomEdgeBrowser& Sender, TPermissionRequestedEventArgs& Args)> OnPermissionRequested;
    std::function<void(TCustomEdgeBrowser& Sender, TWebResourceRequestedEventArgs& Args)> OnWebResourceRequested;
    std::function<void(TCustomEdgeBrowser& Sender, TWebMessageReceivedEventArgs& Args)> OnWebMessageReceived;
    std::function<void(TCustomEdgeBrowser& Sender)> OnDocumentTitleChanged;
    std::function<void(TCustomEdgeBrowser& Sender, TProcessFailedEventArgs& Args)> OnProcessFailed;
    // The holding window's shortcut handling: true when it took the key, which the page then
    // does not see.
    std::function<bool(const TShortcutKey& Key)> OnShortcut;

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    class TComApartment;

    void CreationFailed(HRESULT result);
    HRESULT EnvironmentCreated(HRESULT result, ICoreWebView2Environment* environment);
    HRESULT ControllerCreated(HRESULT result, ICoreWebView2Controller* controller);
    void Subscribe();
    template <typename Target, typename Handler>
    void Subscribe(Target* source, HRESULT (STDMETHODCALLTYPE Target::*add)(Handler*, EventRegistrationToken*),
                   HRESULT (STDMETHODCALLTYPE Target::*remove)(EventRegistrationToken), ComPtr<Handler> handler);
    void UpdateBounds();
    void UpdateVisibility();
    void PutSetting(HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings::*put)(BOOL), bool value);
    // A handler of Interface that runs function(control, arguments...) while the control lives.
    template <typename Interface, typename Function>
    ComPtr<Interface> Bind(Function function);
    static LRESULT CALLBACK TopLevelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    mutable std::mutex FLastErrorLock;
    HRESULT FLastErrorCode = S_OK;
    std::unique_ptr<TComApartment> FApartment;
    // Handlers reach the control through this; it empties when the control goes, so a late
    // completion finds nobody.
    std::shared_ptr<TCustomEdgeBrowser*> FLifeline;
    bool FCreationStarted = false;
    HWND FTopLevel = nullptr;
    ComPtr<ICoreWebView2Environment> FEnvironment;
    ComPtr<ICoreWebView2Controller> FController;
    ComPtr<ICoreWebView2> FWebView;
    ComPtr<ICoreWebView2Settings> FSettings;
    // The removal of each event subscription, run when the control goes.
    std::vector<std::function<void()>> FSubscriptions;
    std::optional<bool> FShownInBrowser; // what put_IsVisible last told the controller
    UniqueWindow FWindow;
};

// The control as the browser view uses it.
class TEdgeBrowser final : public TCustomEdgeBrowser {
public:
    using TCustomEdgeBrowser::TCustomEdgeBrowser;
};

} // namespace Velmora::Platform
