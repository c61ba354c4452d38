// TBrowserExternalModule, the host's end of the bridge: receives every web message the page
// posts, dispatches it by function ID to one operation, and gives the operations the argument
// reader, the replies and the bridge events. Operation families live in their own files
// (AppOperations.cpp, ...), as methods of this class.
#pragma once

#include "bridge/BridgeJson.h"
#include "shared/Text.h"

#include <functional>
#include <stdexcept>

namespace Velmora::Shared {

class TBrowserControl;
class TPayloadReader;
class TProjectSettings;
struct TBridgeFunction;

// An error inside an operation: it ends the handling of the message, and no reply is posted.
class EBridgeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An argument that cannot be read as text: an object or an array.
class EBridgeArgumentError : public EBridgeError {
public:
    using EBridgeError::EBridgeError;
};

class TBrowserExternalModule {
public:
    using TNotifyEvent = std::function<void(TBrowserExternalModule& Sender)>;

    TBrowserExternalModule() = default;
    TBrowserExternalModule(const TBrowserExternalModule&) = delete;
    TBrowserExternalModule& operator=(const TBrowserExternalModule&) = delete;

    // Set by the owner right after creation; the module owns none of them.
    const TPayloadReader* ExeZip = nullptr;      // the payload; null outside the running program
    const TProjectSettings* ProjectINI = nullptr;
    TBrowserControl* BrowserControl = nullptr;   // replies and events go here; null: nowhere
    bool InFullscreen = false;                   // the window is in the bridge's full screen
    TNotifyEvent OnAppCloseRequest;              // app.close: the main window's close approval

    // Handles one web message, given as the JSON text the page posted. Dropped messages (not
    // a JSON object, `id`, `uuid` or `data` missing, `id` not an integer or not dispatched)
    // get no reply. The operation may end the module's owner (app.close): nothing here touches
    // the module after the operation returns.
    void EdgeBrowserWebMessageReceived(TextView WebMessageAsJson);

    // Member Key of Data as text: a string's value, a number's literal as written, "true" or
    // "false". Default when the member is absent or null or Data is no object. Throws
    // EBridgeArgumentError for an object or array member.
    static Text ArgText(const TJsonValue& Data, TextView Key, TextView Default = {});

    // The bridge reply {"uuid": …, "success": …, "result": …} posted to the page; Result is
    // JSON text. The uuid is written as a JSON string literal, so no uuid can break the reply.
    void PostReply(TextView Uuid, TextView Result, bool Success);
    void ReplySuccess(TextView Uuid, TextView Result);
    void ReplyFailure(TextView Uuid, TextView Result);

    // Calls window.qmt.events.<Handler> in the page: "qmt.events.<Handler>();", or with one
    // argument written as a JSON string literal.
    void ExecuteBridgeEvent(TextView Handler);
    void ExecuteBridgeEvent(TextView Handler, TextView Argument);

    // Operations (AppOperations.cpp). Each gets the call's uuid and, when its script function
    // takes arguments, the message's data (a null value otherwise).
    void Hello(TextView Uuid, const TJsonValue& Data);
    void IsRuntime(TextView Uuid, const TJsonValue& Data);
    void AppClose(TextView Uuid, const TJsonValue& Data);

private:
    // Runtime-only operations without a payload reader: shows why and says no.
    bool CheckRuntime(const TBridgeFunction& Function) const;
};

// "Calls to qmt.<name>() works only at runtime." for a runtime-only function.
Text RuntimeOnlyMessage(const TBridgeFunction& Function);

} // namespace Velmora::Shared
