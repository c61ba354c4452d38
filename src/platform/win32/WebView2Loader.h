// The WebView2 loader library, loaded once from the path the browser view was given and kept
// until the process ends. Of its exports only the environment's creation is called: the user
// data folder and the browser arguments reach the browser through the environment variables that
// start-up sets.
#pragma once

#include "platform/win32/WebView2Com.h"
#include "shared/Text.h"

namespace Velmora::Platform {

// Starts the creation of the browser environment; the result arrives in handler. E_FAIL when the
// library at LoaderPath does not load or lacks the export (the handler is then never called).
HRESULT CreateCoreWebView2Environment(Shared::TextView LoaderPath,
                                      ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

} // namespace Velmora::Platform
