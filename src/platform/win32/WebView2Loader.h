// The WebView2 loader library, loaded once from WebView2LoaderPath (LoadLibraryW) and kept until
// the process ends. Of its exports only the environment's creation is called: the user data
// folder and the browser arguments reach the browser through the environment variables that
// start-up sets.
#pragma once

#include "platform/win32/WebView2Com.h"

namespace Velmora::Platform {

// Starts the creation of the browser environment; the result arrives in handler. E_FAIL when the
// library does not load or lacks the export (the handler is then never called).
HRESULT CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

} // namespace Velmora::Platform
