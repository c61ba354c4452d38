// The stand-in's web view: records every call of the host, keeps the handlers of every event,
// completes scripts asynchronously from the message loop, and raises the events the test asks
// for (TestCommands), recording what the host answered.
#pragma once

#include "CallLog.h"
#include "ComObject.h"
#include "Settings.h"
#include "UiQueue.h"
#include "platform/win32/WebView2Com.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Velmora::TestBrowser {

class WebView final : public ComObject<ICoreWebView2> {
public:
    explicit WebView(std::shared_ptr<UiQueue> queue);

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                            ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat,
                                             IStream* imageStream,
                                             ICoreWebView2CapturePreviewCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE Reload() override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;
    HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                               ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) override;
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) override;
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE
    GetDevToolsProtocolEventReceiver(LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
    HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
    HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) override;
    HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(LPCWSTR uri,
                                                            COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
    HRESULT STDMETHODCALLTYPE
    RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;

#define VELMORA_TEST_EVENT(Name, Handler)                                                                              \
    HRESULT STDMETHODCALLTYPE add_##Name(Handler* handler, EventRegistrationToken* token) override {                   \
        return AddHandler("add_" #Name, F##Name, handler, token);                                                      \
    }                                                                                                                  \
    HRESULT STDMETHODCALLTYPE remove_##Name(EventRegistrationToken token) override {                                   \
        return RemoveHandler("remove_" #Name, F##Name, token);                                                         \
    }
    VELMORA_TEST_EVENT(NavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    VELMORA_TEST_EVENT(ContentLoading, ICoreWebView2ContentLoadingEventHandler)
    VELMORA_TEST_EVENT(SourceChanged, ICoreWebView2SourceChangedEventHandler)
    VELMORA_TEST_EVENT(HistoryChanged, ICoreWebView2HistoryChangedEventHandler)
    VELMORA_TEST_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    VELMORA_TEST_EVENT(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    VELMORA_TEST_EVENT(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    VELMORA_TEST_EVENT(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
    VELMORA_TEST_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
    VELMORA_TEST_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler)
    VELMORA_TEST_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
    VELMORA_TEST_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler)
    VELMORA_TEST_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler)
    VELMORA_TEST_EVENT(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler)
    VELMORA_TEST_EVENT(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)
    VELMORA_TEST_EVENT(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler)
#undef VELMORA_TEST_EVENT

    // Events the test raises, synchronously, from the message loop. Each writes one event
    // record with what the host answered.
    void RaiseWebResourceRequested(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context);
    void RaiseWebMessageReceived(const std::wstring& json, const std::optional<std::wstring>& asString,
                                 const std::optional<std::wstring>& source = std::nullopt);
    // The top-level document is now uri, as if the page had navigated there by itself.
    void ShowDocument(const std::wstring& uri);
    void RaiseDocumentTitleChanged(const std::wstring& title);
    void RaiseNewWindowRequested(const std::wstring& uri, bool userInitiated);
    void RaisePermissionRequested(const std::wstring& uri, COREWEBVIEW2_PERMISSION_KIND kind, bool userInitiated);
    void RaiseNavigationCompleted(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
    void RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind);

    // The controller closed: every handler is let go, and later calls fail.
    void Close();
    // Told the text the view window shows (source and title) whenever it changes.
    std::function<void(const std::wstring&)> OnDisplayChanged;

private:
    template <typename H>
    HRESULT AddHandler(const char* method, HandlerList<H>& list, H* handler, EventRegistrationToken* token) {
        JsonObject record = CallRecord("webview", method);
        if (FClosed) {
            WriteRecord(record.Bool("afterClose", true));
            return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
        }
        if (!handler || !token) {
            WriteRecord(record.Bool("nullArgument", true));
            return E_POINTER;
        }
        *token = list.Add(handler, FNextToken++);
        WriteRecord(record.Int("token", token->value));
        return S_OK;
    }
    template <typename H>
    HRESULT RemoveHandler(const char* method, HandlerList<H>& list, EventRegistrationToken token) {
        const bool found = list.Remove(token);
        WriteRecord(CallRecord("webview", method).Int("token", token.value).Bool("found", found));
        return S_OK;
    }
    // Records a call made after Close and tells the caller to fail it.
    bool RefusedAfterClose(JsonObject& record);
    bool Filtered(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) const;
    void UpdateDisplay();

    std::shared_ptr<UiQueue> FQueue;
    ComPtr<Settings> FSettings;
    std::wstring FSource = L"about:blank";
    std::wstring FDocumentTitle;
    std::vector<std::pair<std::wstring, COREWEBVIEW2_WEB_RESOURCE_CONTEXT>> FFilters;
    INT64 FNextToken = 1;
    UINT64 FNextNavigation = 1;
    int FNextScriptId = 1;
    bool FClosed = false;

    HandlerList<ICoreWebView2NavigationStartingEventHandler> FNavigationStarting;
    HandlerList<ICoreWebView2ContentLoadingEventHandler> FContentLoading;
    HandlerList<ICoreWebView2SourceChangedEventHandler> FSourceChanged;
    HandlerList<ICoreWebView2HistoryChangedEventHandler> FHistoryChanged;
    HandlerList<ICoreWebView2NavigationCompletedEventHandler> FNavigationCompleted;
    HandlerList<ICoreWebView2NavigationStartingEventHandler> FFrameNavigationStarting;
    HandlerList<ICoreWebView2NavigationCompletedEventHandler> FFrameNavigationCompleted;
    HandlerList<ICoreWebView2ScriptDialogOpeningEventHandler> FScriptDialogOpening;
    HandlerList<ICoreWebView2PermissionRequestedEventHandler> FPermissionRequested;
    HandlerList<ICoreWebView2ProcessFailedEventHandler> FProcessFailed;
    HandlerList<ICoreWebView2WebMessageReceivedEventHandler> FWebMessageReceived;
    HandlerList<ICoreWebView2NewWindowRequestedEventHandler> FNewWindowRequested;
    HandlerList<ICoreWebView2DocumentTitleChangedEventHandler> FDocumentTitleChanged;
    HandlerList<ICoreWebView2ContainsFullScreenElementChangedEventHandler> FContainsFullScreenElementChanged;
    HandlerList<ICoreWebView2WebResourceRequestedEventHandler> FWebResourceRequested;
    HandlerList<ICoreWebView2WindowCloseRequestedEventHandler> FWindowCloseRequested;
};

} // namespace Velmora::TestBrowser
