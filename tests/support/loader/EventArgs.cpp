#include "EventArgs.h"

#include "CallLog.h"

namespace Velmora::TestBrowser {

namespace {

template <typename T>
HRESULT Out(T* out, T value) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
}

template <typename I>
HRESULT OutObject(I** out, const ComPtr<I>& object) {
    if (!out) return E_POINTER;
    *out = object.Get();
    if (*out) (*out)->AddRef();
    return S_OK;
}

constexpr char ResourceArgs[] = "WebResourceRequestedEventArgs";
constexpr char MessageArgs[] = "WebMessageReceivedEventArgs";
constexpr char WindowArgs[] = "NewWindowRequestedEventArgs";
constexpr char PermissionArgs[] = "PermissionRequestedEventArgs";
constexpr char NavigationArgs[] = "NavigationCompletedEventArgs";
constexpr char FailureArgs[] = "ProcessFailedEventArgs";

} // namespace

HRESULT WebResourceRequestedArgs::get_Request(ICoreWebView2WebResourceRequest** request) {
    WriteRecord(CallRecord(ResourceArgs, "get_Request"));
    return OutObject<ICoreWebView2WebResourceRequest>(request, FRequest);
}

HRESULT WebResourceRequestedArgs::get_Response(ICoreWebView2WebResourceResponse** response) {
    WriteRecord(CallRecord(ResourceArgs, "get_Response"));
    return OutObject(response, FResponse);
}

HRESULT WebResourceRequestedArgs::put_Response(ICoreWebView2WebResourceResponse* response) {
    WriteRecord(CallRecord(ResourceArgs, "put_Response").Bool("response", response != nullptr));
    FResponse = response;
    return S_OK;
}

HRESULT WebResourceRequestedArgs::GetDeferral(ICoreWebView2Deferral**) {
    return NotImplemented(ResourceArgs, "GetDeferral");
}

HRESULT WebResourceRequestedArgs::get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) {
    WriteRecord(CallRecord(ResourceArgs, "get_ResourceContext"));
    return Out(context, FContext);
}

// ---------------------------------------------------------------------------------------------

HRESULT WebMessageReceivedArgs::get_Source(LPWSTR* value) {
    WriteRecord(CallRecord(MessageArgs, "get_Source"));
    return CopyOut(FSource, value);
}

HRESULT WebMessageReceivedArgs::get_WebMessageAsJson(LPWSTR* value) {
    WriteRecord(CallRecord(MessageArgs, "get_WebMessageAsJson"));
    return CopyOut(FJson, value);
}

HRESULT WebMessageReceivedArgs::TryGetWebMessageAsString(LPWSTR* value) {
    WriteRecord(CallRecord(MessageArgs, "TryGetWebMessageAsString").Bool("isString", FString.has_value()));
    if (!value) return E_POINTER;
    if (!FString) {
        *value = nullptr;
        return E_INVALIDARG; // the page posted something other than a string
    }
    return CopyOut(*FString, value);
}

// ---------------------------------------------------------------------------------------------

HRESULT NewWindowRequestedArgs::get_Uri(LPWSTR* uri) {
    WriteRecord(CallRecord(WindowArgs, "get_Uri"));
    return CopyOut(FUri, uri);
}

HRESULT NewWindowRequestedArgs::put_NewWindow(ICoreWebView2* newWindow) {
    WriteRecord(CallRecord(WindowArgs, "put_NewWindow").Bool("newWindow", newWindow != nullptr));
    FNewWindow = newWindow;
    return S_OK;
}

HRESULT NewWindowRequestedArgs::get_NewWindow(ICoreWebView2** newWindow) {
    WriteRecord(CallRecord(WindowArgs, "get_NewWindow"));
    return OutObject(newWindow, FNewWindow);
}

HRESULT NewWindowRequestedArgs::put_Handled(BOOL handled) {
    WriteRecord(CallRecord(WindowArgs, "put_Handled").Bool("handled", handled != FALSE));
    FHandled = handled != FALSE;
    return S_OK;
}

HRESULT NewWindowRequestedArgs::get_Handled(BOOL* handled) {
    WriteRecord(CallRecord(WindowArgs, "get_Handled"));
    return Out<BOOL>(handled, FHandled ? TRUE : FALSE);
}

HRESULT NewWindowRequestedArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
    WriteRecord(CallRecord(WindowArgs, "get_IsUserInitiated"));
    return Out<BOOL>(isUserInitiated, FUserInitiated ? TRUE : FALSE);
}

HRESULT NewWindowRequestedArgs::GetDeferral(ICoreWebView2Deferral**) {
    return NotImplemented(WindowArgs, "GetDeferral");
}

HRESULT NewWindowRequestedArgs::get_WindowFeatures(ICoreWebView2WindowFeatures**) {
    return NotImplemented(WindowArgs, "get_WindowFeatures");
}

// ---------------------------------------------------------------------------------------------

HRESULT PermissionRequestedArgs::get_Uri(LPWSTR* uri) {
    WriteRecord(CallRecord(PermissionArgs, "get_Uri"));
    return CopyOut(FUri, uri);
}

HRESULT PermissionRequestedArgs::get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) {
    WriteRecord(CallRecord(PermissionArgs, "get_PermissionKind"));
    return Out(permissionKind, FKind);
}

HRESULT PermissionRequestedArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
    WriteRecord(CallRecord(PermissionArgs, "get_IsUserInitiated"));
    return Out<BOOL>(isUserInitiated, FUserInitiated ? TRUE : FALSE);
}

HRESULT PermissionRequestedArgs::get_State(COREWEBVIEW2_PERMISSION_STATE* state) {
    WriteRecord(CallRecord(PermissionArgs, "get_State"));
    return Out(state, FState);
}

HRESULT PermissionRequestedArgs::put_State(COREWEBVIEW2_PERMISSION_STATE state) {
    WriteRecord(CallRecord(PermissionArgs, "put_State").Int("state", state));
    FState = state;
    return S_OK;
}

HRESULT PermissionRequestedArgs::GetDeferral(ICoreWebView2Deferral**) {
    return NotImplemented(PermissionArgs, "GetDeferral");
}

// ---------------------------------------------------------------------------------------------

HRESULT NavigationCompletedArgs::get_IsSuccess(BOOL* isSuccess) {
    WriteRecord(CallRecord(NavigationArgs, "get_IsSuccess"));
    return Out<BOOL>(isSuccess, FSuccess ? TRUE : FALSE);
}

HRESULT NavigationCompletedArgs::get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) {
    WriteRecord(CallRecord(NavigationArgs, "get_WebErrorStatus"));
    return Out(webErrorStatus, FStatus);
}

HRESULT NavigationCompletedArgs::get_NavigationId(UINT64* navigationId) {
    WriteRecord(CallRecord(NavigationArgs, "get_NavigationId"));
    return Out(navigationId, FId);
}

HRESULT ProcessFailedArgs::get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) {
    WriteRecord(CallRecord(FailureArgs, "get_ProcessFailedKind"));
    return Out(value, FKind);
}

} // namespace Velmora::TestBrowser
