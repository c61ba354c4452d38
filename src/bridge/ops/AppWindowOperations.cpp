#include "bridge/ops/AppWindowOperations.h"

#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"

namespace Velmora::Shared {

void TAppWindowOperations::Hello(const TBridgeCall& Call) { Call.Success(u"\"2023.3\""); }

void TAppWindowOperations::IsRuntime(const TBridgeCall& Call) {
    Call.Success(Call.Module().ExeZip() != nullptr ? u"true" : u"false");
}

void TAppWindowOperations::AppClose(const TBridgeCall& Call) {
    // No reply: the approval closes the window, which may free the module on the way. The
    // handler is copied first so that it outlives the member it came from, and nothing here
    // touches the module after the call.
    TBrowserExternalModule& module = Call.Module();
    if (!module.OnAppCloseRequest) return;
    const TBrowserExternalModule::TNotifyEvent handler = module.OnAppCloseRequest;
    handler(module);
}

} // namespace Velmora::Shared
