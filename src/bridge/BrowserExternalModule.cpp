#include "bridge/BrowserExternalModule.h"

#include "bridge/BridgeCall.h"
#include "bridge/BridgeFunctions.h"
#include "bridge/BridgeProtocol.h"
#include "payload/ProjectSettings.h"
#include "platform/BrowserControl.h"
#include "platform/MessageBox.h"
#include "shared/StrUtils.h"
#include "shared/StringHelpers.h"

#include <optional>

namespace Velmora::Shared {

namespace {

// Operations that take no arguments get this instead of the message's data.
const TJsonValue NoArguments;

} // namespace

TBrowserExternalModule::TBrowserExternalModule(const TBridgeContext& Context)
    : FContext(Context), FTrust(Context.ProjectINI != nullptr ? Context.ProjectINI->BridgeOrigins() : Text()),
      FAppWindow(Context.InFullscreen) {}

TBrowserExternalModule::~TBrowserExternalModule() { *FAlive = false; }

bool TBrowserExternalModule::ServesShownDocument() const { return FTrust.Trusts(FContext.BrowserControl.Source()); }

void TBrowserExternalModule::EdgeBrowserWebMessageReceived(TextView WebMessageAsJson, TextView Source) {
    FPending.emplace_back(Text(WebMessageAsJson), Text(Source));
    if (FDispatching) return; // the operation in progress serves the loop: this one comes after it
    const std::shared_ptr<bool> alive = FAlive;
    FDispatching = true;
    while (!FPending.empty()) {
        const std::pair<Text, Text> message = std::move(FPending.front());
        FPending.pop_front();
        Dispatch(message.first, message.second);
        if (!*alive) return; // app.close ended the module's owner and the module
    }
    FDispatching = false;
}

void TBrowserExternalModule::Dispatch(TextView WebMessageAsJson, TextView Source) {
    const std::optional<TJsonValue> message = ParseBridgeJson(ToUtf8(WebMessageAsJson));
    if (!message) return;
    if (message->Kind == TJsonKind::String) {
        // Only outside the running program is the click message special; with a payload
        // reader a string is no bridge message and is dropped like any other.
        if (FContext.ExeZip == nullptr && FromUtf8(message->Scalar) == BrowserClickedMessage)
            FContext.BrowserControl.Focus();
        return;
    }
    // Only the app's own documents (and the origins it lists) run operations.
    if (message->Kind != TJsonKind::Object || !FTrust.Trusts(Source)) return;
    const TJsonValue* id = message->Member("id");
    const TJsonValue* uuid = message->Member("uuid");
    const TJsonValue* data = message->Member("data");
    if (id == nullptr || uuid == nullptr || data == nullptr) return;

    try {
        // The ID as written must be an integer: 10001.0 or 1e4 are fractions to this rule.
        const std::optional<std::int32_t> number = TryStrToInt(JsonValueText(*id));
        if (!number) return;
        const TBridgeFunction* function = FindBridgeFunction(*number);
        if (function == nullptr || function->Operation == nullptr) return;
        const Text uuidText = JsonValueText(*uuid);
        if (function->Scope == TBridgeScope::RuntimeOnly && !CheckRuntime(*function)) return;
        const TJsonValue& arguments = function->Data == TBridgeData::CallerObject ? *data : NoArguments;
        function->Operation(*this, TBridgeCall(*this, uuidText, arguments));
        // Nothing after this point: app.close may have ended the module's owner and the module.
    } catch (const std::exception&) {
        // An error inside an operation ends the message without a reply; the page is not told.
    }
}

void TBrowserExternalModule::PostReply(TextView Uuid, TextView Result, bool Success) {
    if (!ServesShownDocument()) return;
    const Text uuid = TStrUtils::StringToJsonString(Uuid);
    const TextView success = Success ? u"true" : u"false";
    constexpr TextView head = u"{\"uuid\": ", middle = u", \"success\": ", tail = u", \"result\": ";
    Text reply;
    reply.reserve(head.size() + uuid.size() + middle.size() + success.size() + tail.size() + Result.size() + 1);
    reply.append(head).append(uuid).append(middle).append(success).append(tail).append(Result).push_back(u'}');
    FContext.BrowserControl.PostWebMessageAsJson(reply);
}

void TBrowserExternalModule::ReplySuccess(TextView Uuid, TextView Result) { PostReply(Uuid, Result, true); }

void TBrowserExternalModule::ReplyFailure(TextView Uuid, TextView Result) { PostReply(Uuid, Result, false); }

void TBrowserExternalModule::ExecuteBridgeEvent(TextView Handler) {
    if (!ServesShownDocument()) return;
    Text script(BridgeEventsObject);
    script.append(Handler).append(u"();");
    FContext.BrowserControl.ExecuteScript(script);
}

void TBrowserExternalModule::ExecuteBridgeEvent(TextView Handler, TextView Argument) {
    if (!ServesShownDocument()) return;
    // A JSON string literal is a script string literal too: quotes, backslashes and line
    // breaks in the argument cannot end it early.
    Text script(BridgeEventsObject);
    script.append(Handler).append(u"(").append(TStrUtils::StringToJsonString(Argument)).append(u");");
    FContext.BrowserControl.ExecuteScript(script);
}

bool TBrowserExternalModule::CheckRuntime(const TBridgeFunction& Function) const {
    if (FContext.ExeZip != nullptr) return true;
    Platform::ShowMessage(RuntimeOnlyMessage(Function),
                          FContext.ProjectINI != nullptr ? FContext.ProjectINI->Name() : Text());
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
