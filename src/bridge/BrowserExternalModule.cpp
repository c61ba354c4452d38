#include "bridge/BrowserExternalModule.h"

#include "bridge/BridgeFunctions.h"
#include "bridge/ShowMessage.h"
#include "browser/BrowserControl.h"
#include "shared/StrUtils.h"
#include "startup/ProjectSettings.h"

#include <optional>

namespace Velmora::Shared {

namespace {

// What a page in preview mode posts on every click.
constexpr std::string_view BrowserClickedMessage = "qmt-webbrowser-clicked";

// Operations that take no arguments get this instead of the message's data.
const TJsonValue NoArguments;

// One value as text, by the rules of ArgText.
Text ValueText(const TJsonValue& value, TextView Default) {
    switch (value.Kind) {
    case TJsonKind::String:
    case TJsonKind::Number: return FromUtf8(value.Scalar);
    case TJsonKind::True: return u"true";
    case TJsonKind::False: return u"false";
    case TJsonKind::Null: return Text(Default);
    case TJsonKind::Object:
    case TJsonKind::Array: break;
    }
    throw EBridgeArgumentError("an object or array cannot be read as text");
}

} // namespace

void TBrowserExternalModule::EdgeBrowserWebMessageReceived(TextView WebMessageAsJson) {
    const std::optional<TJsonValue> message = ParseBridgeJson(ToUtf8(WebMessageAsJson));
    if (!message) return;
    if (message->Kind == TJsonKind::String) {
        // Only outside the running program is the click message special; with a payload
        // reader a string is no bridge message and is dropped like any other.
        if (ExeZip == nullptr && message->Scalar == BrowserClickedMessage && BrowserControl != nullptr)
            BrowserControl->Focus();
        return;
    }
    if (message->Kind != TJsonKind::Object) return;
    const TJsonValue* id = message->Member("id");
    const TJsonValue* uuid = message->Member("uuid");
    const TJsonValue* data = message->Member("data");
    if (id == nullptr || uuid == nullptr || data == nullptr) return;

    try {
        // The ID as written must be an integer: 10001.0 or 1e4 are fractions to this rule.
        const std::optional<std::int32_t> number = TryStrToInt(ValueText(*id, {}));
        if (!number) return;
        const TBridgeFunction* function = FindBridgeFunction(*number);
        if (function == nullptr || function->Operation == nullptr) return;
        const Text uuidText = ValueText(*uuid, {});
        if (function->Scope == TBridgeScope::RuntimeOnly && !CheckRuntime(*function)) return;
        const TJsonValue& arguments = function->Data == TBridgeData::CallerObject ? *data : NoArguments;
        (this->*function->Operation)(uuidText, arguments);
        // Nothing after this point: app.close may have ended the module's owner and the module.
    } catch (const std::exception&) {
        // An error inside an operation ends the message without a reply; the page is not told.
    }
}

Text TBrowserExternalModule::ArgText(const TJsonValue& Data, TextView Key, TextView Default) {
    if (Data.Kind != TJsonKind::Object) return Text(Default);
    const TJsonValue* member = Data.Member(ToUtf8(Key));
    return member == nullptr ? Text(Default) : ValueText(*member, Default);
}

void TBrowserExternalModule::PostReply(TextView Uuid, TextView Result, bool Success) {
    if (BrowserControl == nullptr) return;
    const Text uuid = TStrUtils::StringToJsonString(Uuid);
    const TextView success = Success ? u"true" : u"false";
    constexpr TextView head = u"{\"uuid\": ", middle = u", \"success\": ", tail = u", \"result\": ";
    Text reply;
    reply.reserve(head.size() + uuid.size() + middle.size() + success.size() + tail.size() + Result.size() + 1);
    reply.append(head).append(uuid).append(middle).append(success).append(tail).append(Result).push_back(u'}');
    BrowserControl->PostWebMessageAsJson(reply);
}

void TBrowserExternalModule::ReplySuccess(TextView Uuid, TextView Result) { PostReply(Uuid, Result, true); }

void TBrowserExternalModule::ReplyFailure(TextView Uuid, TextView Result) { PostReply(Uuid, Result, false); }

void TBrowserExternalModule::ExecuteBridgeEvent(TextView Handler) {
    if (BrowserControl == nullptr) return;
    Text script(u"qmt.events.");
    script.append(Handler).append(u"();");
    BrowserControl->ExecuteScript(script);
}

void TBrowserExternalModule::ExecuteBridgeEvent(TextView Handler, TextView Argument) {
    if (BrowserControl == nullptr) return;
    // A JSON string literal is a script string literal too: quotes, backslashes and line
    // breaks in the argument cannot end it early.
    Text script(u"qmt.events.");
    script.append(Handler).append(u"(").append(TStrUtils::StringToJsonString(Argument)).append(u");");
    BrowserControl->ExecuteScript(script);
}

bool TBrowserExternalModule::CheckRuntime(const TBridgeFunction& Function) const {
    if (ExeZip != nullptr) return true;
    ShowMessage(RuntimeOnlyMessage(Function), ProjectINI != nullptr ? ProjectINI->Name() : Text());
    return false;
}

Text RuntimeOnlyMessage(const TBridgeFunction& Function) {
    // files.extractFile has always announced itself under its earlier name.
    constexpr std::int32_t ExtractFileID = 30004;
    const TextView name = Function.ID == ExtractFileID ? TextView(u"app.extractFile") : Function.Name;
    Text text(u"Calls to qmt.");
    text.append(name).append(u"() works only at runtime.");
    return text;
}

} // namespace Velmora::Shared
