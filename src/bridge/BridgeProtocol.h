// What the page's scripts and the host agree on beside the bridge messages themselves.
#pragma once

#include "shared/Text.h"

namespace Velmora::Shared {

// Posted as a plain string on every click in a page shown in preview mode (outside the program).
inline constexpr TextView BrowserClickedMessage = u"qmt-webbrowser-clicked";

// The object of window.qmt whose handlers the host's events call.
inline constexpr TextView BridgeEventsObject = u"qmt.events.";

} // namespace Velmora::Shared
