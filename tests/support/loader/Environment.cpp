#include "Environment.h"

#include "CallLog.h"
#include "Controller.h"
#include "WebResource.h"

namespace Velmora::TestBrowser {

namespace {

constexpr char Object[] = "environment";

} // namespace

HRESULT Environment::CreateCoreWebView2Controller(HWND parentWindow,
                                                  ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
    WriteRecord(CallRecord(Object, "CreateCoreWebView2Controller")
                    .Bool("parentIsWindow", IsWindow(parentWindow) != FALSE)
                    .Bool("handler", handler != nullptr));
    if (!handler) return E_POINTER;
    if (!IsWindow(parentWindow)) return E_INVALIDARG;
    const ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> done(handler);
    const std::shared_ptr<UiQueue> queue = FQueue;
    FQueue->Post([done, queue, parentWindow] {
        // The parent may have gone in the meantime; the browser then reports E_ABORT.
        ComPtr<Controller> controller;
        const HRESULT result = IsWindow(parentWindow) ? S_OK : E_ABORT;
        if (SUCCEEDED(result)) controller = MakeObject<Controller>(queue, parentWindow);
        const HRESULT answer = done->Invoke(result, controller.Get());
        WriteRecord(EventRecord("ControllerCompleted").Int("errorCode", result).Int("handlerResult", answer));
    });
    return S_OK;
}

HRESULT Environment::CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers,
                                               ICoreWebView2WebResourceResponse** response) {
    WriteRecord(CallRecord(Object, "CreateWebResourceResponse")
                    .Bool("content", content != nullptr)
                    .Int("statusCode", statusCode)
                    .Text("reasonPhrase", reasonPhrase)
                    .Text("headers", headers));
    if (!response) return E_POINTER;
    *response = MakeObject<WebResourceResponse>(content, statusCode, reasonPhrase, headers).Detach();
    return S_OK;
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* versionInfo) {
    WriteRecord(CallRecord(Object, "get_BrowserVersionString"));
    return CopyOut(FVersion, versionInfo);
}

HRESULT Environment::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler,
                                                    EventRegistrationToken* token) {
    WriteRecord(CallRecord(Object, "add_NewBrowserVersionAvailable"));
    if (!eventHandler || !token) return E_POINTER;
    *token = FNewBrowserVersionAvailable.Add(eventHandler, FNextToken++);
    return S_OK;
}

HRESULT Environment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
    WriteRecord(CallRecord(Object, "remove_NewBrowserVersionAvailable")
                    .Int("token", token.value)
                    .Bool("found", FNewBrowserVersionAvailable.Remove(token)));
    return S_OK;
}

} // namespace Velmora::TestBrowser
