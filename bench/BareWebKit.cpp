// The bare WebKitGTK program the runtime is measured against (bench/run.py): one window, one web
// view, the same custom scheme (qmt:///, answered from a folder on disk), and the smallest bridge
// that answers window.qmt.hello the way the runtime does (a script message in, one JSON parse,
// an evaluated reply out). Usage: velmora_bare_webkit FOLDER [START_PAGE]
#include <gtk/gtk.h>
#include <json-glib/json-glib.h>
#include <webkit2/webkit2.h>

#include <string>

namespace {

std::string Root;

void ServeScheme(WebKitURISchemeRequest* request, gpointer) {
    const std::string path = Root + "/" + webkit_uri_scheme_request_get_path(request);
    gchar* data = nullptr;
    gsize size = 0;
    GError* error = nullptr;
    if (!g_file_get_contents(path.c_str(), &data, &size, &error)) {
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    GInputStream* stream = g_memory_input_stream_new_from_data(data, static_cast<gssize>(size), g_free);
    const char* type = g_str_has_suffix(path.c_str(), ".html") ? "text/html"
                       : g_str_has_suffix(path.c_str(), ".js") ? "text/javascript"
                                                               : "application/octet-stream";
    // A response with a status and headers, as the runtime answers: fetch() needs them.
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, static_cast<gint64>(size));
    webkit_uri_scheme_response_set_status(response, 200, "OK");
    webkit_uri_scheme_response_set_content_type(response, type);
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_set_content_length(headers, static_cast<goffset>(size));
    soup_message_headers_append(headers, "Access-Control-Allow-Origin", "*");
    webkit_uri_scheme_response_set_http_headers(response, headers);
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
}

// {id, uuid, data} in; the reply the runtime gives to hello out.
void OnMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer view) {
    JSCValue* value = webkit_javascript_result_get_js_value(result);
    gchar* text = jsc_value_to_string(value);
    JsonParser* parser = json_parser_new();
    std::string uuid;
    if (json_parser_load_from_data(parser, text, -1, nullptr)) {
        JsonObject* object = json_node_get_object(json_parser_get_root(parser));
        if (object != nullptr && json_object_has_member(object, "uuid"))
            uuid = json_object_get_string_member(object, "uuid");
    }
    g_object_unref(parser);
    g_free(text);
    const std::string script =
        "window.__bareReply({\"uuid\": \"" + uuid + "\", \"success\": true, \"result\": \"2023.3\"});";
    webkit_web_view_evaluate_javascript(WEBKIT_WEB_VIEW(view), script.c_str(), -1, nullptr, nullptr, nullptr, nullptr,
                                        nullptr);
}

constexpr const char* BridgeScript = R"(
(function () {
  var pending = new Map();
  window.__bareReply = function (reply) {
    var settle = pending.get(reply.uuid);
    if (!settle) return;
    pending.delete(reply.uuid);
    reply.success ? settle[0](reply.result) : settle[1](reply.result);
  };
  var serial = 0;
  function call(id, args) {
    var uuid = 'c' + (++serial);
    return new Promise(function (resolve, reject) {
      pending.set(uuid, [resolve, reject]);
      window.webkit.messageHandlers.bare.postMessage(JSON.stringify({id: id, uuid: uuid, data: args}));
    });
  }
  window.qmt = {call: call, hello: function () { return call(10001, {}); }};
})();
)";

} // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    if (argc < 2) {
        g_printerr("usage: %s FOLDER [START_PAGE]\n", argv[0]);
        return 2;
    }
    Root = argv[1];
    const std::string start = std::string("qmt:///") + (argc > 2 ? argv[2] : "index.html");

    WebKitWebContext* context = webkit_web_context_get_default();
    webkit_web_context_register_uri_scheme(context, "qmt", ServeScheme, nullptr, nullptr);
    // Registered as the runtime registers it: fetch() works within the scheme.
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_secure(security, "qmt");
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, "qmt");
    webkit_security_manager_register_uri_scheme_as_local(security, "qmt");

    WebKitUserContentManager* content = webkit_user_content_manager_new();
    webkit_user_content_manager_add_script(
        content, webkit_user_script_new(BridgeScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr));
    webkit_user_content_manager_register_script_message_handler(content, "bare");

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 900, 640);
    GtkWidget* view = webkit_web_view_new_with_user_content_manager(content);
    g_signal_connect(content, "script-message-received::bare", G_CALLBACK(OnMessage), view);
    g_signal_connect(view, "notify::title", G_CALLBACK(+[](GObject* v, GParamSpec*, gpointer w) {
                         const char* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(v));
                         gtk_window_set_title(GTK_WINDOW(w), title != nullptr ? title : "");
                     }),
                     window);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), start.c_str());
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
