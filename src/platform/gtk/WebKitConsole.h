// WebKitGTK: the page's console messages and uncaught errors on standard error, for developers
// (AllowDebug=1). A script in every frame (resources/webkit-console.js) hands each to the script
// message handler "qmtConsole"; each is written as one line: "source:line: console.level: text".
#pragma once

#include <webkit2/webkit2.h>

namespace Velmora::Platform {

void WriteConsoleToStandardError(WebKitUserContentManager* Content);

} // namespace Velmora::Platform
