// Win32: the browser view. A borderless child window of our class filling the main window, the
// browser control above a marquee progress bar (comctl32 PROGRESS_CLASS, PBS_MARQUEE) 4 pixels
// high along the bottom edge; the control's WebView2 events are connected to the view's handler,
// and the control is offered to the portable code as a TBrowserControl.
#include "platform/BrowserView.h"

#include "platform/win32/BrowserControl.h"
#include "platform/win32/EdgeBrowser.h"
#include "platform/win32/UiMetrics.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"

#include <commctrl.h>

namespace Velmora::Platform {

namespace {

using Shared::TextView;

constexpr wchar_t ViewClass[] = L"Velmora.BrowserForm";
constexpr int ProgressBarHeight = 4; // at 96 DPI

class TWin32BrowserView final : public TBrowserView {
public:
    TWin32BrowserView(HWND parent, TBrowserViewHandler& handler, const TBrowserViewOptions& options);
    ~TWin32BrowserView() override;
    TWin32BrowserView(const TWin32BrowserView&) = delete;
    TWin32BrowserView& operator=(const TWin32BrowserView&) = delete;

    TBrowserControl& EdgeBrowser() override { return *FControl; }
    void SetBounds(int Width, int Height) override {
        MoveWindow(FWindow.get(), 0, 0, Width, Height, TRUE); // WM_SIZE lays the children out
    }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Layout();
    // The bar's own visibility, whether or not the windows around it are shown yet.
    bool BarShown() const { return (GetWindowLongW(FProgressBar, GWL_STYLE) & WS_VISIBLE) != 0; }
    void ConnectEvents();
    void WebResourceRequested(TWebResourceRequestedEventArgs& args);
    void NewWindowRequested(TNewWindowRequestedEventArgs& args);
    void WebMessageReceived(TWebMessageReceivedEventArgs& args);

    TBrowserViewHandler& FHandler;
    UniqueWindow FWindow;
    HWND FProgressBar = nullptr; // a child of FWindow, destroyed with it
    std::unique_ptr<TEdgeBrowser> FBrowser;
    std::unique_ptr<TEdgeBrowserControl> FControl;
};

TWin32BrowserView::TWin32BrowserView(HWND parent, TBrowserViewHandler& handler, const TBrowserViewOptions& options)
    : FHandler(handler) {
    const INITCOMMONCONTROLSEX progress{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&progress);
    RECT area{};
    GetClientRect(parent, &area);
    const wchar_t* cls = EnsureWindowClass({ViewClass, ForwardingWindowProc<TWin32BrowserView>});
    FWindow.reset(CreateWindowExW(0, cls, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, area.right, area.bottom, parent,
                                  nullptr, GetModuleHandleW(nullptr), this));
    FProgressBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_MARQUEE, 0, 0, 0, 0,
                                   FWindow.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(FProgressBar, PBM_SETMARQUEE, TRUE, 0);
    FBrowser = std::make_unique<TEdgeBrowser>(FWindow.get(), RECT{0, 0, 0, 0});
    FBrowser->LoaderLibraryPath = options.LoaderLibraryPath;
    FControl = std::make_unique<TEdgeBrowserControl>(*FBrowser);
    ConnectEvents();
    Layout();
    ShowWindow(FWindow.get(), SW_SHOW);
}

TWin32BrowserView::~TWin32BrowserView() {
    FControl.reset();
    FBrowser.reset(); // closes the web view while our window still exists
    FWindow.reset();
}

void TWin32BrowserView::ConnectEvents() {
    FControl->OnWebMessageReceived = [this](TextView json, TextView) { FHandler.WebMessageReceived(json); };
    // The creation starts from the message loop, so this never runs inside CreateBrowserView.
    FBrowser->OnCreateWebViewCompleted = [this](TCustomEdgeBrowser&, HRESULT result) {
        FHandler.CreateWebViewCompleted(SUCCEEDED(result));
    };
    FBrowser->OnWebResourceRequested = [this](TCustomEdgeBrowser&, TWebResourceRequestedEventArgs& args) {
        WebResourceRequested(args);
    };
    FBrowser->OnNewWindowRequested = [this](TCustomEdgeBrowser&, TNewWindowRequestedEventArgs& args) {
        NewWindowRequested(args);
    };
    FBrowser->OnPermissionRequested = [this](TCustomEdgeBrowser& sender, TPermissionRequestedEventArgs& args) {
        // The app's own documents get what they ask for; any other document is refused.
        TCoTaskString uri;
        const bool trusted =
            SUCCEEDED(sender.Check(args.ArgsInterface()->get_Uri(uri.Put()))) && FHandler.TrustsDocument(uri.ToText());
        sender.Check(args.ArgsInterface()->put_State(trusted ? COREWEBVIEW2_PERMISSION_STATE_ALLOW
                                                             : COREWEBVIEW2_PERMISSION_STATE_DENY));
    };
    FBrowser->OnNavigationCompleted = [this](TCustomEdgeBrowser&, TNavigationCompletedEventArgs&) {
        // Gone for good after the first navigation, whether it succeeded or not.
        if (BarShown()) {
            ShowWindow(FProgressBar, SW_HIDE);
            Layout();
        }
    };
    FBrowser->OnWebMessageReceived = [this](TCustomEdgeBrowser&, TWebMessageReceivedEventArgs& args) {
        WebMessageReceived(args);
    };
    FBrowser->OnDocumentTitleChanged = [this](TCustomEdgeBrowser& sender) {
        if (FControl->OnDocumentTitleChanged) FControl->OnDocumentTitleChanged(sender.DocumentTitle());
    };
    // A failed browser process is ignored: OnProcessFailed stays unassigned.
}

void TWin32BrowserView::WebResourceRequested(TWebResourceRequestedEventArgs& args) {
    ComPtr<ICoreWebView2WebResourceRequest> request;
    TCoTaskString uri;
    if (FAILED(FBrowser->Check(args.ArgsInterface()->get_Request(&request))) || !request ||
        FAILED(FBrowser->Check(request->get_Uri(uri.Put()))))
        return;
    // Answered before returning: the whole entry or file is in memory already.
    const auto answer = FHandler.WebResourceRequested(uri.ToText());
    if (!answer) return;
    const auto response =
        FBrowser->CreateWebResourceResponse(answer->Content, answer->StatusCode, answer->ReasonPhrase, answer->Headers);
    if (response) FBrowser->Check(args.ArgsInterface()->put_Response(response.Get()));
}

void TWin32BrowserView::NewWindowRequested(TNewWindowRequestedEventArgs& args) {
    TCoTaskString uri;
    if (FAILED(FBrowser->Check(args.ArgsInterface()->get_Uri(uri.Put())))) return;
    if (FHandler.NewWindowRequested(uri.ToText())) FBrowser->Check(args.ArgsInterface()->put_Handled(TRUE));
}

void TWin32BrowserView::WebMessageReceived(TWebMessageReceivedEventArgs& args) {
    // The sender's URI decides what the message may do; without it the message counts as foreign.
    TCoTaskString json, source;
    if (FAILED(FBrowser->Check(args.ArgsInterface()->get_WebMessageAsJson(json.Put())))) return;
    if (FAILED(FBrowser->Check(args.ArgsInterface()->get_Source(source.Put())))) return;
    if (FControl->OnWebMessageReceived) FControl->OnWebMessageReceived(json.ToText(), source.ToText());
}

void TWin32BrowserView::Layout() {
    RECT area{};
    GetClientRect(FWindow.get(), &area);
    const int bar = BarShown() ? Scaled(ProgressBarHeight) : 0;
    const int browserHeight = area.bottom > bar ? area.bottom - bar : 0;
    if (bar > 0) MoveWindow(FProgressBar, 0, browserHeight, area.right, bar, TRUE);
    if (FBrowser) MoveWindow(FBrowser->Handle(), 0, 0, area.right, browserHeight, TRUE);
}

LRESULT TWin32BrowserView::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: Layout(); return 0;
        case WM_ERASEBKGND: return EraseWithFaceColor(hwnd, wParam);
        case WM_NCDESTROY:
            // Destroyed with the main window: nothing left for us to destroy.
            FWindow.release();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

std::unique_ptr<TBrowserView> CreateBrowserView(void* ParentWindow, TBrowserViewHandler& Handler,
                                                const TBrowserViewOptions& Options) {
    return std::make_unique<TWin32BrowserView>(static_cast<HWND>(ParentWindow), Handler, Options);
}

} // namespace Velmora::Platform
