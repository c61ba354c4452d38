// Bridge operations that identify the host and close the application: hello, isRuntime,
// app.close.
#include "bridge/BrowserExternalModule.h"

namespace Velmora::Shared {

void TBrowserExternalModule::Hello(TextView Uuid, const TJsonValue&) {
    ReplySuccess(Uuid, u"\"2023.3\"");
}

void TBrowserExternalModule::IsRuntime(TextView Uuid, const TJsonValue&) {
    ReplySuccess(Uuid, ExeZip != nullptr ? u"true" : u"false");
}

void TBrowserExternalModule::AppClose(TextView, const TJsonValue&) {
    // No reply: the approval closes the window, which may free this module on the way. The
    // handler is copied first so that it outlives the member it came from, and nothing here
    // touches the module after the call.
    if (!OnAppCloseRequest) return;
    const TNotifyEvent handler = OnAppCloseRequest;
    handler(*this);
}

} // namespace Velmora::Shared
