#include "WebResource.h"

#include <objbase.h>

namespace Velmora::TestBrowser {

namespace {

constexpr char RequestObject[] = "WebResourceRequest";
constexpr char ResponseObject[] = "WebResourceResponse";
constexpr char HeadersObject[] = "HttpResponseHeaders";

// "Name: value" lines, separated by CR LF or LF.
std::vector<std::pair<std::wstring, std::wstring>> ParseHeaders(const std::wstring& text) {
    std::vector<std::pair<std::wstring, std::wstring>> headers;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        const size_t colon = line.find(L':');
        if (colon != std::wstring::npos) {
            size_t valueStart = colon + 1;
            while (valueStart < line.size() && line[valueStart] == L' ') ++valueStart;
            headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
        }
        start = end + 1;
    }
    return headers;
}

bool SameName(const std::wstring& a, const wchar_t* b) { return lstrcmpiW(a.c_str(), b) == 0; }

} // namespace

HRESULT CopyOut(const std::wstring& text, LPWSTR* out) {
    if (!out) return E_POINTER;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*out) return E_OUTOFMEMORY;
    CopyMemory(*out, text.c_str(), bytes);
    return S_OK;
}

// ---------------------------------------------------------------------------------------------

HRESULT WebResourceRequest::get_Uri(LPWSTR* uri) {
    WriteRecord(CallRecord(RequestObject, "get_Uri"));
    return CopyOut(FUri, uri);
}

HRESULT WebResourceRequest::put_Uri(LPCWSTR uri) {
    WriteRecord(CallRecord(RequestObject, "put_Uri").Text("uri", uri));
    if (!uri) return E_INVALIDARG;
    FUri = uri;
    return S_OK;
}

HRESULT WebResourceRequest::get_Method(LPWSTR* method) {
    WriteRecord(CallRecord(RequestObject, "get_Method"));
    return CopyOut(FMethod, method);
}

HRESULT WebResourceRequest::put_Method(LPCWSTR method) {
    WriteRecord(CallRecord(RequestObject, "put_Method").Text("method", method));
    if (!method) return E_INVALIDARG;
    FMethod = method;
    return S_OK;
}

HRESULT WebResourceRequest::get_Content(IStream** content) {
    WriteRecord(CallRecord(RequestObject, "get_Content"));
    if (!content) return E_POINTER;
    *content = nullptr; // a GET has no body
    return S_OK;
}

HRESULT WebResourceRequest::put_Content(IStream*) { return NotImplemented(RequestObject, "put_Content"); }

HRESULT WebResourceRequest::get_Headers(ICoreWebView2HttpRequestHeaders**) {
    return NotImplemented(RequestObject, "get_Headers");
}

// ---------------------------------------------------------------------------------------------

// {5d0b8a34-5c61-4b3e-9a57-1f6ee2d4c901}
const GUID WebResourceResponse::OwnId = {0x5d0b8a34, 0x5c61, 0x4b3e, {0x9a, 0x57, 0x1f, 0x6e, 0xe2, 0xd4, 0xc9, 0x01}};

WebResourceResponse::WebResourceResponse(IStream* content, int status, const wchar_t* reason, const wchar_t* headers)
    : FContent(content), FStatus(status), FReason(reason ? reason : L""), FHeaders(headers ? headers : L""),
      FReasonIsNull(reason == nullptr), FHeadersIsNull(headers == nullptr), FHeaderList(ParseHeaders(FHeaders)) {}

HRESULT WebResourceResponse::QueryInterface(REFIID iid, void** object) {
    if (object && iid == OwnId) {
        *object = this;
        AddRef();
        return S_OK;
    }
    return ComObject<ICoreWebView2WebResourceResponse>::QueryInterface(iid, object);
}

HRESULT WebResourceResponse::get_Content(IStream** content) {
    WriteRecord(CallRecord(ResponseObject, "get_Content"));
    if (!content) return E_POINTER;
    *content = FContent.Get();
    if (*content) (*content)->AddRef();
    return S_OK;
}

HRESULT WebResourceResponse::put_Content(IStream* content) {
    WriteRecord(CallRecord(ResponseObject, "put_Content").Bool("content", content != nullptr));
    FContent = content;
    return S_OK;
}

HRESULT WebResourceResponse::get_Headers(ICoreWebView2HttpResponseHeaders** headers) {
    WriteRecord(CallRecord(ResponseObject, "get_Headers"));
    if (!headers) return E_POINTER;
    *headers = MakeObject<WebResourceResponseHeaders>(ComPtr<WebResourceResponse>(this)).Detach();
    return S_OK;
}

HRESULT WebResourceResponse::get_StatusCode(int* statusCode) {
    WriteRecord(CallRecord(ResponseObject, "get_StatusCode"));
    if (!statusCode) return E_POINTER;
    *statusCode = FStatus;
    return S_OK;
}

HRESULT WebResourceResponse::put_StatusCode(int statusCode) {
    WriteRecord(CallRecord(ResponseObject, "put_StatusCode").Int("statusCode", statusCode));
    FStatus = statusCode;
    return S_OK;
}

HRESULT WebResourceResponse::get_ReasonPhrase(LPWSTR* reasonPhrase) {
    WriteRecord(CallRecord(ResponseObject, "get_ReasonPhrase"));
    return CopyOut(FReason, reasonPhrase);
}

HRESULT WebResourceResponse::put_ReasonPhrase(LPCWSTR reasonPhrase) {
    WriteRecord(CallRecord(ResponseObject, "put_ReasonPhrase").Text("reasonPhrase", reasonPhrase));
    if (!reasonPhrase) return E_INVALIDARG;
    FReason = reasonPhrase;
    FReasonIsNull = false;
    return S_OK;
}

void WebResourceResponse::Describe(JsonObject& record) {
    record.Int("status", FStatus);
    if (FReasonIsNull) record.Raw("reason", "null");
    else record.Text("reason", FReason);
    if (FHeadersIsNull) record.Raw("headers", "null");
    else record.Text("headers", FHeaders);
    if (!FAppended.empty()) {
        std::wstring appended;
        for (const auto& [name, value] : FAppended) appended += name + L": " + value + L"\n";
        record.Text("appendedHeaders", appended);
    }
    if (!FContent) {
        record.Raw("body", "null");
        return;
    }
    std::vector<unsigned char> body;
    unsigned char chunk[65536];
    HRESULT hr = S_OK;
    for (;;) {
        ULONG read = 0;
        hr = FContent->Read(chunk, sizeof chunk, &read);
        if (FAILED(hr)) break;
        body.insert(body.end(), chunk, chunk + read);
        if (read == 0) break;
    }
    record.Bytes("body", body);
    if (FAILED(hr)) record.Int("bodyError", hr);
}

// ---------------------------------------------------------------------------------------------

HRESULT WebResourceResponseHeaders::AppendHeader(LPCWSTR name, LPCWSTR value) {
    WriteRecord(CallRecord(HeadersObject, "AppendHeader").Text("name", name).Text("value", value));
    if (!name || !value) return E_INVALIDARG;
    FResponse->FHeaderList.emplace_back(name, value);
    FResponse->FAppended.emplace_back(name, value);
    return S_OK;
}

HRESULT WebResourceResponseHeaders::Contains(LPCWSTR name, BOOL* value) {
    WriteRecord(CallRecord(HeadersObject, "Contains").Text("name", name));
    if (!name || !value) return E_POINTER;
    *value = FALSE;
    for (const auto& header : FResponse->FHeaderList)
        if (SameName(header.first, name)) *value = TRUE;
    return S_OK;
}

HRESULT WebResourceResponseHeaders::GetHeader(LPCWSTR name, LPWSTR* value) {
    WriteRecord(CallRecord(HeadersObject, "GetHeader").Text("name", name));
    if (!name || !value) return E_POINTER;
    for (const auto& header : FResponse->FHeaderList)
        if (SameName(header.first, name)) return CopyOut(header.second, value);
    *value = nullptr;
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT WebResourceResponseHeaders::GetHeaders(LPCWSTR, ICoreWebView2HttpHeadersCollectionIterator**) {
    return NotImplemented(HeadersObject, "GetHeaders");
}

HRESULT WebResourceResponseHeaders::GetIterator(ICoreWebView2HttpHeadersCollectionIterator**) {
    return NotImplemented(HeadersObject, "GetIterator");
}

} // namespace Velmora::TestBrowser
