// WebKitGTK: downloads of a web context. Each asks where to go in the save dialog, opened in the
// user's downloads folder with the name the page suggests; replacing a file is confirmed there
// first, and a cancelled dialog cancels the download, which then writes nothing.
#pragma once

#include <webkit2/webkit2.h>

namespace Velmora::Platform {

void AskWhereDownloadsGo(WebKitWebContext* Context);

} // namespace Velmora::Platform
