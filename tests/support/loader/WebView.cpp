#include "WebView.h"

#include "EventArgs.h"
#include "WebResource.h"

#include <string>

namespace Velmora::TestBrowser {

namespace {

constexpr char Object[] = "webview";

// A filter's glob: "*" any run of characters, "?" any one; the whole URI must match.
bool GlobMatches(const wchar_t* pattern, const wchar_t* text) {
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*text) {
        if (*pattern == L'*') {
            star = pattern++;
            resume = text;
        } else if (*pattern == L'?' || *pattern == *text) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == L'*') ++pattern;
    return *pattern == 0;
}

// Invokes every handler registered for an event and counts them (and their failures) in record.
template <typename H, typename... Args>
void InvokeAll(JsonObject& record, const HandlerList<H>& list, Args... args) {
    int count = 0;
    int failed = 0;
    for (const ComPtr<H>& handler : list.Snapshot()) {
        ++count;
        if (FAILED(handler->Invoke(args...))) ++failed;
    }
    record.Int("handlers", count);
    if (failed) record.Int("failedHandlers", failed);
}

} // namespace

WebView::WebView(std::shared_ptr<UiQueue> queue) : FQueue(std::move(queue)), FSettings(MakeObject<Settings>()) {}

bool WebView::RefusedAfterClose(JsonObject& record) {
    if (!FClosed) return false;
    WriteRecord(record.Bool("afterClose", true));
    return true;
}

HRESULT WebView::get_Settings(ICoreWebView2Settings** settings) {
    JsonObject record = CallRecord(Object, "get_Settings");
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!settings) return E_POINTER;
    *settings = ComPtr<Settings>(FSettings).Detach();
    return S_OK;
}

HRESULT WebView::get_Source(LPWSTR* uri) {
    WriteRecord(CallRecord(Object, "get_Source"));
    return CopyOut(FSource, uri);
}

HRESULT WebView::Navigate(LPCWSTR uri) {
    JsonObject record = CallRecord(Object, "Navigate");
    record.Text("uri", uri);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!uri) return E_INVALIDARG;
    FSource = uri;
    UpdateDisplay();
    return S_OK;
}

HRESULT WebView::NavigateToString(LPCWSTR) { return NotImplemented(Object, "NavigateToString"); }

HRESULT WebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
    JsonObject record = CallRecord(Object, "AddScriptToExecuteOnDocumentCreated");
    record.Text("javaScript", javaScript).Bool("handler", handler != nullptr);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!javaScript) return E_INVALIDARG;
    if (handler) {
        ComPtr<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler> done(handler);
        const std::wstring id = std::to_wstring(FNextScriptId++);
        FQueue->Post([done, id] { done->Invoke(S_OK, id.c_str()); });
    }
    return S_OK;
}

HRESULT WebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) {
    return NotImplemented(Object, "RemoveScriptToExecuteOnDocumentCreated");
}

HRESULT WebView::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
    JsonObject record = CallRecord(Object, "ExecuteScript");
    record.Text("javaScript", javaScript).Bool("handler", handler != nullptr);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!javaScript) return E_INVALIDARG;
    if (handler) {
        // No page runs here: every script's value is undefined, which comes back as "null".
        ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> done(handler);
        FQueue->Post([done] { done->Invoke(S_OK, L"null"); });
    }
    return S_OK;
}

HRESULT WebView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                ICoreWebView2CapturePreviewCompletedHandler*) {
    return NotImplemented(Object, "CapturePreview");
}

HRESULT WebView::Reload() { return NotImplemented(Object, "Reload"); }

HRESULT WebView::PostWebMessageAsJson(LPCWSTR webMessageAsJson) {
    JsonObject record = CallRecord(Object, "PostWebMessageAsJson");
    record.Text("webMessageAsJson", webMessageAsJson);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    return webMessageAsJson ? S_OK : E_INVALIDARG;
}

HRESULT WebView::PostWebMessageAsString(LPCWSTR webMessageAsString) {
    JsonObject record = CallRecord(Object, "PostWebMessageAsString");
    record.Text("webMessageAsString", webMessageAsString);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    return webMessageAsString ? S_OK : E_INVALIDARG;
}

HRESULT WebView::CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR,
                                            ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) {
    return NotImplemented(Object, "CallDevToolsProtocolMethod");
}

HRESULT WebView::get_BrowserProcessId(UINT32* value) {
    WriteRecord(CallRecord(Object, "get_BrowserProcessId"));
    if (!value) return E_POINTER;
    *value = GetCurrentProcessId();
    return S_OK;
}

HRESULT WebView::get_CanGoBack(BOOL* canGoBack) {
    WriteRecord(CallRecord(Object, "get_CanGoBack"));
    if (!canGoBack) return E_POINTER;
    *canGoBack = FALSE;
    return S_OK;
}

HRESULT WebView::get_CanGoForward(BOOL* canGoForward) {
    WriteRecord(CallRecord(Object, "get_CanGoForward"));
    if (!canGoForward) return E_POINTER;
    *canGoForward = FALSE;
    return S_OK;
}

HRESULT WebView::GoBack() { return NotImplemented(Object, "GoBack"); }
HRESULT WebView::GoForward() { return NotImplemented(Object, "GoForward"); }

HRESULT WebView::GetDevToolsProtocolEventReceiver(LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver**) {
    return NotImplemented(Object, "GetDevToolsProtocolEventReceiver");
}

HRESULT WebView::Stop() { return NotImplemented(Object, "Stop"); }

HRESULT WebView::get_DocumentTitle(LPWSTR* title) {
    WriteRecord(CallRecord(Object, "get_DocumentTitle"));
    return CopyOut(FDocumentTitle, title);
}

HRESULT WebView::AddHostObjectToScript(LPCWSTR, VARIANT*) { return NotImplemented(Object, "AddHostObjectToScript"); }
HRESULT WebView::RemoveHostObjectFromScript(LPCWSTR) { return NotImplemented(Object, "RemoveHostObjectFromScript"); }
HRESULT WebView::OpenDevToolsWindow() { return NotImplemented(Object, "OpenDevToolsWindow"); }

HRESULT WebView::get_ContainsFullScreenElement(BOOL* containsFullScreenElement) {
    WriteRecord(CallRecord(Object, "get_ContainsFullScreenElement"));
    if (!containsFullScreenElement) return E_POINTER;
    *containsFullScreenElement = FALSE;
    return S_OK;
}

HRESULT WebView::AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
    JsonObject record = CallRecord(Object, "AddWebResourceRequestedFilter");
    record.Text("uri", uri).Int("resourceContext", resourceContext);
    if (RefusedAfterClose(record)) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    WriteRecord(record);
    if (!uri) return E_INVALIDARG;
    FFilters.emplace_back(uri, resourceContext);
    return S_OK;
}

HRESULT WebView::RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
    WriteRecord(CallRecord(Object, "RemoveWebResourceRequestedFilter")
                    .Text("uri", uri)
                    .Int("resourceContext", resourceContext));
    if (!uri) return E_INVALIDARG;
    for (auto it = FFilters.begin(); it != FFilters.end(); ++it)
        if (it->first == uri && it->second == resourceContext) {
            FFilters.erase(it);
            return S_OK;
        }
    return E_INVALIDARG; // only an added pair can be removed
}

// ---------------------------------------------------------------------------------------------

bool WebView::Filtered(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) const {
    for (const auto& [pattern, filterContext] : FFilters)
        if ((filterContext == COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL || filterContext == context) &&
            GlobMatches(pattern.c_str(), uri.c_str()))
            return true;
    return false;
}

void WebView::RaiseWebResourceRequested(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    const ComPtr<WebView> self(this); // a handler may close and release the view
    JsonObject record = EventRecord("WebResourceRequested");
    record.Text("uri", uri).Int("context", context);
    if (RefusedAfterClose(record)) return;
    // The browser raises the event only for requests that a filter selects.
    if (!Filtered(uri, context)) {
        WriteRecord(record.Bool("filtered", false));
        return;
    }
    const auto args = MakeObject<WebResourceRequestedArgs>(MakeObject<WebResourceRequest>(uri), context);
    InvokeAll(record, FWebResourceRequested, static_cast<ICoreWebView2*>(this), args.Get());
    const ComPtr<ICoreWebView2WebResourceResponse>& response = args->Response();
    ComPtr<WebResourceResponse> own;
    if (!response) {
        record.Raw("response", "null");
    } else if (SUCCEEDED(response->QueryInterface(WebResourceResponse::OwnId,
                                                  reinterpret_cast<void**>(own.GetAddressOf())))) {
        JsonObject answer;
        own->Describe(answer);
        record.Raw("response", answer.Str());
    } else {
        record.Ascii("response", "not made by the environment");
    }
    WriteRecord(record);
}

void WebView::RaiseWebMessageReceived(const std::wstring& json, const std::optional<std::wstring>& asString,
                                      const std::optional<std::wstring>& source) {
    const ComPtr<WebView> self(this);
    JsonObject record = EventRecord("WebMessageReceived");
    record.Text("json", json);
    record.Text("source", source.value_or(FSource));
    if (RefusedAfterClose(record)) return;
    const auto args = MakeObject<WebMessageReceivedArgs>(source.value_or(FSource), json, asString);
    InvokeAll(record, FWebMessageReceived, static_cast<ICoreWebView2*>(this), args.Get());
    WriteRecord(record);
}

void WebView::ShowDocument(const std::wstring& uri) {
    JsonObject record = EventRecord("ShowDocument");
    record.Text("uri", uri);
    FSource = uri;
    WriteRecord(record);
}

void WebView::RaiseDocumentTitleChanged(const std::wstring& title) {
    const ComPtr<WebView> self(this);
    JsonObject record = EventRecord("DocumentTitleChanged");
    record.Text("title", title);
    if (RefusedAfterClose(record)) return;
    FDocumentTitle = title;
    UpdateDisplay();
    const auto args = MakeObject<EmptyArgs>();
    InvokeAll(record, FDocumentTitleChanged, static_cast<ICoreWebView2*>(this), static_cast<IUnknown*>(args.Get()));
    WriteRecord(record);
}

void WebView::RaiseNewWindowRequested(const std::wstring& uri, bool userInitiated) {
    const ComPtr<WebView> self(this);
    JsonObject record = EventRecord("NewWindowRequested");
    record.Text("uri", uri);
    if (RefusedAfterClose(record)) return;
    const auto args = MakeObject<NewWindowRequestedArgs>(uri, userInitiated);
    InvokeAll(record, FNewWindowRequested, static_cast<ICoreWebView2*>(this), args.Get());
    WriteRecord(record.Bool("handled", args->Handled()).Bool("newWindow", args->NewWindowSet()));
}

void WebView::RaisePermissionRequested(const std::wstring& uri, COREWEBVIEW2_PERMISSION_KIND kind, bool userInitiated) {
    const ComPtr<WebView> self(this);
    JsonObject record = EventRecord("PermissionRequested");
    record.Text("uri", uri).Int("kind", kind);
    if (RefusedAfterClose(record)) return;
    const auto args = MakeObject<PermissionRequestedArgs>(uri, kind, userInitiated);
    InvokeAll(record, FPermissionRequested, static_cast<ICoreWebView2*>(this), args.Get());
    WriteRecord(record.Int("state", args->State()));
}

void WebView::RaiseNavigationCompleted(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
    const ComPtr<WebView> self(this);
    JsonObject record = EventRecord("NavigationCompleted");
    record.Bool("success", success).Int("webErrorStatus", status);
    if (RefusedAfterClose(record)) return;
    const auto args = MakeObject<NavigationCompletedArgs>(success, status, FNextNavigation++);
    InvokeAll(record, FNavigationCompleted, static_cast<ICoreWebView2*>(this), args.Get());
    WriteRecord(record);
}

void WebView::RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    const ComPtr<WebView> self(this);
    JsonObject record = EventRecord("ProcessFailed");
    record.Int("kind", kind);
    if (RefusedAfterClose(record)) return;
    const auto args = MakeObject<ProcessFailedArgs>(kind);
    InvokeAll(record, FProcessFailed, static_cast<ICoreWebView2*>(this), args.Get());
    WriteRecord(record);
}

void WebView::Close() {
    FClosed = true;
    OnDisplayChanged = nullptr;
    FNavigationStarting.Clear();
    FContentLoading.Clear();
    FSourceChanged.Clear();
    FHistoryChanged.Clear();
    FNavigationCompleted.Clear();
    FFrameNavigationStarting.Clear();
    FFrameNavigationCompleted.Clear();
    FScriptDialogOpening.Clear();
    FPermissionRequested.Clear();
    FProcessFailed.Clear();
    FWebMessageReceived.Clear();
    FNewWindowRequested.Clear();
    FDocumentTitleChanged.Clear();
    FContainsFullScreenElementChanged.Clear();
    FWebResourceRequested.Clear();
    FWindowCloseRequested.Clear();
}

void WebView::UpdateDisplay() {
    if (OnDisplayChanged) OnDisplayChanged(L"Velmora test browser\n\n" + FSource + L"\n" + FDocumentTitle);
}

} // namespace Velmora::TestBrowser
