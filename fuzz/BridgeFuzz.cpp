// The bridge message reader and dispatcher: any text as a web message from an app page, with the
// recording browser control and main window of the tests behind it.
#include "bridge/BridgeJson.h"
#include "bridge/BrowserExternalModule.h"
#include "payload/PayloadReader.h"

#include "unit/fakes/RecordingBrowser.h"
#include "unit/fakes/RecordingMainWindow.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace Velmora;
using namespace Velmora::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)ParseBridgeJson(text);

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
