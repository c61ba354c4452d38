// The stand-in's environment: creates controllers (asynchronously, on the thread's message loop)
// and the responses the host answers resource requests with.
#pragma once

#include "ComObject.h"
#include "UiQueue.h"
#include "platform/win32/WebView2Com.h"

#include <memory>
#include <string>

namespace Velmora::TestBrowser {

class Environment final : public ComObject<ICoreWebView2Environment> {
public:
    Environment(std::shared_ptr<UiQueue> queue, std::wstring version)
        : FQueue(std::move(queue)), FVersion(std::move(version)) {}

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                        LPCWSTR headers,
                                                        ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler, EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;

private:
    std::shared_ptr<UiQueue> FQueue;
    std::wstring FVersion;
    HandlerList<ICoreWebView2NewBrowserVersionAvailableEventHandler> FNewBrowserVersionAvailable;
    INT64 FNextToken = 1;
};

} // namespace Velmora::TestBrowser
