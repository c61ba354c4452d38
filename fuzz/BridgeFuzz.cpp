// The bridge message reader and dispatcher: any text as a web message from an app page, with the
// recording browser control and main window of the tests behind it.
#include "bridge/BridgeJson.h"
#include "bridge/BrowserExternalModule.h"
#include "payload/PayloadReader.h"

#include "unit/fakes/RecordingBrowser.h"
#include "unit/fakes/RecordingMainWindow.h"

#include "ScratchDataHome.h"
#include "shared/StringHelpers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace Velmora;
using namespace Velmora::Shared;

namespace {

// Operations that act on the machine itself: they start programs and command lines and end the
// session, so random input must not reach them.
bool ActsOnTheMachine(const std::optional<TJsonValue>& message) {
    if (!message || message->Kind != TJsonKind::Object) return false;
    const TJsonValue* id = message->Member("id");
    if (id == nullptr) return false;
    try {
        const std::optional<std::int32_t> number = TryStrToInt(JsonValueText(*id));
        return number && ((*number >= 70001 && *number <= 70004) || (*number >= 11001 && *number <= 11003));
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

// The registry operations write to the user's store: a scratch one instead.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Velmora::Fuzz::UseScratchDataHome("bridge");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ActsOnTheMachine(ParseBridgeJson(text))) return 0;

    Tests::TRecordingMainWindow window;
    Tests::TRecordingBrowser browser;
    // A reader is attached (though empty): runtime-only operations run instead of showing a box.
    TPayloadReader reader;
    TBrowserExternalModule module({window, browser, &reader});
    module.EdgeBrowserWebMessageReceived(FromUtf8(text), browser.Document);
    // Every reply is one JSON value the page can parse.
    for (const std::string& reply : browser.Posted)
        if (!ParseBridgeJson(reply)) __builtin_trap();
    return 0;
}
