// The content types the operating system registers by file extension (the registry's
// HKEY_CLASSES_ROOT on Windows, /etc/mime.types on Linux), which overlay our built-in table.
#pragma once

#include "shared/MimeTypes.h"

#include <vector>

namespace Velmora::Platform {

// The entries in the order read; a later entry replaces an earlier one for the same extension.
std::vector<Shared::TMimeEntry> ReadSystemMimeTypes();

} // namespace Velmora::Platform
