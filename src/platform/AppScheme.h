// How the platform's browser addresses the app's files. Windows: "file:///", the rest of the URI
// is the absolute path as written. Linux (WebKitGTK cannot take over file://): "qmt:///", the
// absolute path is "/" followed by the rest.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

struct TAppScheme {
    Shared::TextView Name;         // "file" or "qmt"
    Shared::TextView Prefix;       // Name + ":///"
    Shared::TextView AbsoluteRoot; // put before the rest of a URI to give an absolute path
    char16_t PathDelimiter;        // the file system's separator
};

// The running platform's scheme.
const TAppScheme& AppScheme();

} // namespace Velmora::Platform
