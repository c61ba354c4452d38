// WebKitGTK: finishing a request of the app scheme (see WebKitSchemeResponse.h).
#include "platform/gtk/WebKitSchemeResponse.h"

#include "platform/gtk/GtkHandles.h"
#include "shared/HttpAnswer.h"

#include <string>
#include <string_view>

namespace Velmora::Platform {

namespace {

using SoupHeadersPtr = Shared::TUniqueHandle<SoupMessageHeaders*, soup_message_headers_unref>;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// "Name: value" lines (CR LF or LF apart) into response headers, except those this file sets
// itself from the answer (type and length).
void AppendHeaders(SoupMessageHeaders* headers, const std::string& text) {
    std::string_view rest(text);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string name(Trim(line.substr(0, colon)));
        const std::string value(Trim(line.substr(colon + 1)));
        if (name.empty() || g_ascii_strcasecmp(name.c_str(), "Content-Type") == 0 ||
            g_ascii_strcasecmp(name.c_str(), "Content-Length") == 0)
            continue;
        soup_message_headers_append(headers, name.c_str(), value.c_str());
    }
}

void FreeBytes(gpointer bytes) { delete static_cast<Shared::Bytes*>(bytes); }

// The Range header of the request, empty without one.
std::string RangeHeader(WebKitURISchemeRequest* request) {
    SoupMessageHeaders* headers = webkit_uri_scheme_request_get_http_headers(request);
    const char* range = headers != nullptr ? soup_message_headers_get_one(headers, "Range") : nullptr;
    return range != nullptr ? range : "";
}

// Finishes with status and the bytes [first, first + length) of content, which the engine
// frees when it is done.
void Finish(WebKitURISchemeRequest* request, Shared::Bytes* content, gsize first, gsize length, guint status,
            const char* reason, const std::string& contentType, SoupHeadersPtr headers) {
    GBytesPtr bytes{g_bytes_new_with_free_func(content->data() + first, length, FreeBytes, content)};
    GObjectPtr<GInputStream> stream{g_memory_input_stream_new_from_bytes(bytes.get())};
    GObjectPtr<WebKitURISchemeResponse> response{
        webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(length))};
    webkit_uri_scheme_response_set_status(response.get(), status, reason);
    if (!contentType.empty()) {
        webkit_uri_scheme_response_set_content_type(response.get(), contentType.c_str());
        soup_message_headers_replace(headers.get(), "Content-Type", contentType.c_str());
    }
    soup_message_headers_replace(headers.get(), "Content-Length", std::to_string(length).c_str());
    webkit_uri_scheme_response_set_http_headers(response.get(), headers.release());
    webkit_uri_scheme_request_finish_with_response(request, response.get());
}

} // namespace

void FinishSchemeRequest(WebKitURISchemeRequest* Request, std::optional<TWebResourceResponse> Answer) {
    SoupHeadersPtr headers{soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE)};
    if (!Answer) {
        Finish(Request, new Shared::Bytes, 0, 0, 404, "Not Found", "", std::move(headers));
        return;
    }
    AppendHeaders(headers.get(), Shared::ToUtf8(Answer->Headers));
    soup_message_headers_replace(headers.get(), "Accept-Ranges", "bytes");
    const std::string contentType = Shared::ContentTypeValue(Shared::ToUtf8(Answer->MimeType));
    // The engine reads the answer's own buffer and frees it when it is done.
    auto* content = new Shared::Bytes(std::move(Answer->Content));
    const gsize size = content->size();
    const std::string range = RangeHeader(Request);
    const Shared::TByteRange part = range.empty() ? Shared::TByteRange{} : Shared::ParseRangeHeader(range, size);
    switch (part.Kind) {
        case Shared::TByteRange::TKind::Part: {
            const std::string contentRange =
                "bytes " + std::to_string(part.First) + "-" + std::to_string(part.Last) + "/" + std::to_string(size);
            soup_message_headers_replace(headers.get(), "Content-Range", contentRange.c_str());
            Finish(Request, content, part.First, part.Last - part.First + 1, 206, "Partial Content", contentType,
                   std::move(headers));
            return;
        }
        case Shared::TByteRange::TKind::Unsatisfiable: {
            const std::string contentRange = "bytes */" + std::to_string(size);
            soup_message_headers_replace(headers.get(), "Content-Range", contentRange.c_str());
            Finish(Request, content, 0, 0, 416, "Range Not Satisfiable", "", std::move(headers));
            return;
        }
        case Shared::TByteRange::TKind::Whole:
            Finish(Request, content, 0, size, static_cast<guint>(Answer->StatusCode),
                   Shared::ToUtf8(Answer->ReasonPhrase).c_str(), contentType, std::move(headers));
            return;
    }
}

} // namespace Velmora::Platform
