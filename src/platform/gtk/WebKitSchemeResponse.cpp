// WebKitGTK: finishing a request of the app scheme (see WebKitSchemeResponse.h).
#include "platform/gtk/WebKitSchemeResponse.h"

#include "platform/gtk/GtkHandles.h"

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

// "Name: value" lines (CR LF or LF apart) into response headers; the Content-Type value is
// returned as well, since the engine takes the type of a scheme answer from its own field.
SoupHeadersPtr ParseHeaders(const std::string& text, std::string& contentType) {
    SoupHeadersPtr headers{soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE)};
    std::string_view rest(text);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string name(Trim(line.substr(0, colon)));
        const std::string value(Trim(line.substr(colon + 1)));
        if (name.empty()) continue;
        soup_message_headers_append(headers.get(), name.c_str(), value.c_str());
        if (g_ascii_strcasecmp(name.c_str(), "Content-Type") == 0) contentType = value;
    }
    return headers;
}

void FreeBytes(gpointer bytes) { delete static_cast<Shared::Bytes*>(bytes); }

} // namespace

void FinishSchemeRequest(WebKitURISchemeRequest* Request, std::optional<TWebResourceResponse> Answer) {
    if (!Answer) {
        GErrorPtr error{g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "The app has no such file.")};
        webkit_uri_scheme_request_finish_error(Request, error.get());
        return;
    }
    // The engine reads the answer's own buffer and frees it when it is done.
    auto* content = new Shared::Bytes(std::move(Answer->Content));
    const gsize size = content->size();
    GBytesPtr bytes{g_bytes_new_with_free_func(content->data(), size, FreeBytes, content)};
    GObjectPtr<GInputStream> stream{g_memory_input_stream_new_from_bytes(bytes.get())};
    GObjectPtr<WebKitURISchemeResponse> response{
        webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(size))};
    webkit_uri_scheme_response_set_status(response.get(), static_cast<guint>(Answer->StatusCode),
                                          Shared::ToUtf8(Answer->ReasonPhrase).c_str());
    std::string contentType;
    SoupHeadersPtr headers = ParseHeaders(Shared::ToUtf8(Answer->Headers), contentType);
    if (!contentType.empty()) webkit_uri_scheme_response_set_content_type(response.get(), contentType.c_str());
    webkit_uri_scheme_response_set_http_headers(response.get(), headers.release());
    webkit_uri_scheme_request_finish_with_response(Request, response.get());
}

} // namespace Velmora::Platform
