// WebKitGTK: console messages on standard error (see WebKitConsole.h).
#include "platform/gtk/WebKitConsole.h"

#include "platform/gtk/GtkHandles.h"
#include "platform/Resources.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace Velmora::Platform {

namespace {

constexpr const char* HandlerName = "qmtConsole";
constexpr std::string_view ScriptResource = "QMT_WEBKIT_CONSOLE";

std::string Property(JSCValue* object, const char* name) {
    GObjectPtr<JSCValue> value{jsc_value_object_get_property(object, name)};
    if (value == nullptr || jsc_value_is_undefined(value.get())) return {};
    const GCharPtr text{jsc_value_to_string(value.get())};
    return text != nullptr ? text.get() : "";
}

// One line per message: line breaks inside it are written as "\n".
std::string OneLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        if (c == '\n') line += "\\n";
        else if (c != '\r') line.push_back(c);
    }
    return line;
}

void ConsoleMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer) {
    JSCValue* message = webkit_javascript_result_get_js_value(result);
    if (!jsc_value_is_object(message)) return;
    const std::string line = Property(message, "source") + ":" + Property(message, "line") + ": console." +
                             Property(message, "level") + ": " + OneLine(Property(message, "message")) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace

void WriteConsoleToStandardError(WebKitUserContentManager* Content) {
    g_signal_connect(Content, "script-message-received::qmtConsole", G_CALLBACK(ConsoleMessage), nullptr);
    webkit_user_content_manager_register_script_message_handler(Content, HandlerName);
    const auto data = FindResourceData(ScriptResource);
    std::string source(reinterpret_cast<const char*>(data.data()), data.size());
    WebKitUserScript* script = webkit_user_script_new(source.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                                      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(Content, script);
    webkit_user_script_unref(script);
}

} // namespace Velmora::Platform
