// The stand-in's web resource objects: the request the test asks for, and the response the host
// makes with CreateWebResourceResponse, which keeps its stream, status, reason and headers so the
// event can record what the host answered.
#pragma once

#include "CallLog.h"
#include "ComObject.h"
#include "platform/win32/WebView2Com.h"

#include <string>
#include <utility>
#include <vector>

namespace Velmora::TestBrowser {

class WebResourceRequest final : public ComObject<ICoreWebView2WebResourceRequest> {
public:
    explicit WebResourceRequest(std::wstring uri) : FUri(std::move(uri)) {}
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override;
    HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override;
    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) override;

private:
    std::wstring FUri;
    std::wstring FMethod = L"GET";
};

class WebResourceResponse final : public ComObject<ICoreWebView2WebResourceResponse> {
public:
    WebResourceResponse(IStream* content, int status, const wchar_t* reason, const wchar_t* headers);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) override;
    HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) override;
    HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) override;
    HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) override;
    HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) override;

    // The header list the headers object reads and appends to.
    std::vector<std::pair<std::wstring, std::wstring>>& HeaderList() { return FHeaderList; }
    // Adds status, reason, headers (the text as given, then any appended) and the body read
    // from the stream's current position to its end, as the browser would read it.
    void Describe(JsonObject& record);

    // Our own responses answer this identifier with themselves (AddRef'd), so an event can tell
    // them from a response the host made by other means.
    static const GUID OwnId;

private:
    ComPtr<IStream> FContent;
    int FStatus;
    std::wstring FReason;
    std::wstring FHeaders;
    bool FReasonIsNull;
    bool FHeadersIsNull;
    std::vector<std::pair<std::wstring, std::wstring>> FHeaderList;
    std::vector<std::pair<std::wstring, std::wstring>> FAppended;
    friend class WebResourceResponseHeaders;
};

class WebResourceResponseHeaders final : public ComObject<ICoreWebView2HttpResponseHeaders> {
public:
    explicit WebResourceResponseHeaders(ComPtr<WebResourceResponse> response) : FResponse(std::move(response)) {}
    HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) override;
    HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** value) override;
    HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) override;

private:
    ComPtr<WebResourceResponse> FResponse;
};

} // namespace Velmora::TestBrowser
