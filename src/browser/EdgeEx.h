// The browser control's unit. Start-up fills WebView2LoaderPath before any browser exists.
#pragma once

#include "shared/Text.h"

namespace Velmora::Shared {

// Full path of the WebView2 loader library ("…\Win32\WebView2LoaderWin32.dll" in the user data
// folder), from which the browser control loads it once.
extern Text WebView2LoaderPath;

} // namespace Velmora::Shared
