// The argument objects of the events the stand-in raises. Each records the host's calls and
// keeps what the host set (response, handled, state) for the event's record.
#pragma once

#include "ComObject.h"
#include "WebResource.h"
#include "platform/win32/WebView2Com.h"

#include <optional>
#include <string>

namespace Velmora::TestBrowser {

class WebResourceRequestedArgs final : public ComObject<ICoreWebView2WebResourceRequestedEventArgs> {
public:
    WebResourceRequestedArgs(ComPtr<WebResourceRequest> request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context)
        : FRequest(std::move(request)), FContext(context) {}
    HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override;
    HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
    HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override;

    // The response the host set: none, or one made by other means than the environment.
    const ComPtr<ICoreWebView2WebResourceResponse>& Response() const { return FResponse; }

private:
    ComPtr<WebResourceRequest> FRequest;
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT FContext;
    ComPtr<ICoreWebView2WebResourceResponse> FResponse;
};

class WebMessageReceivedArgs final : public ComObject<ICoreWebView2WebMessageReceivedEventArgs> {
public:
    // asString: the message when the page posted a string (TryGetWebMessageAsString).
    WebMessageReceivedArgs(std::wstring source, std::wstring json, std::optional<std::wstring> asString)
        : FSource(std::move(source)), FJson(std::move(json)), FString(std::move(asString)) {}
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) override;

private:
    std::wstring FSource;
    std::wstring FJson;
    std::optional<std::wstring> FString;
};

class NewWindowRequestedArgs final : public ComObject<ICoreWebView2NewWindowRequestedEventArgs> {
public:
    NewWindowRequestedArgs(std::wstring uri, bool userInitiated)
        : FUri(std::move(uri)), FUserInitiated(userInitiated) {}
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) override;
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
    HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** value) override;

    bool Handled() const { return FHandled; }
    bool NewWindowSet() const { return FNewWindow != nullptr; }

private:
    std::wstring FUri;
    bool FUserInitiated;
    bool FHandled = false;
    ComPtr<ICoreWebView2> FNewWindow;
};

class PermissionRequestedArgs final : public ComObject<ICoreWebView2PermissionRequestedEventArgs> {
public:
    PermissionRequestedArgs(std::wstring uri, COREWEBVIEW2_PERMISSION_KIND kind, bool userInitiated)
        : FUri(std::move(uri)), FKind(kind), FUserInitiated(userInitiated) {}
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) override;
    HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;

    COREWEBVIEW2_PERMISSION_STATE State() const { return FState; }

private:
    std::wstring FUri;
    COREWEBVIEW2_PERMISSION_KIND FKind;
    bool FUserInitiated;
    COREWEBVIEW2_PERMISSION_STATE FState = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
};

class NavigationCompletedArgs final : public ComObject<ICoreWebView2NavigationCompletedEventArgs> {
public:
    NavigationCompletedArgs(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 id)
        : FSuccess(success), FStatus(status), FId(id) {}
    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) override;
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) override;
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

private:
    bool FSuccess;
    COREWEBVIEW2_WEB_ERROR_STATUS FStatus;
    UINT64 FId;
};

class ProcessFailedArgs final : public ComObject<ICoreWebView2ProcessFailedEventArgs> {
public:
    explicit ProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND kind) : FKind(kind) {}
    HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) override;

private:
    COREWEBVIEW2_PROCESS_FAILED_KIND FKind;
};

// The data-less argument of title, zoom and focus events.
class EmptyArgs final : public ComObject<IUnknown> {};

} // namespace Velmora::TestBrowser
