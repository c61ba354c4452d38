// Is a usable browser engine present? On Windows the WebView2 loader library at LoaderPath must
// load and report a non-empty browser version; on Linux the engine is linked, so it always is.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

bool BrowserRuntimeInstalled(Shared::TextView LoaderPath);

} // namespace Velmora::Platform
