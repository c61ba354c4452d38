// Writes the payload archive of a packaged executable with libzip: every entry stored and
// encrypted (traditional PKWARE) with the fixed archive password, "/" as folder separator.
#pragma once

#include "shared/Text.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace Velmora::Pack {

struct TPayloadItem {
    Shared::Text EntryName;       // "/"-separated; folders end in "/"
    std::filesystem::path Source; // empty for a folder entry
};

// Builds the archive in memory and returns its bytes. Progress receives 0..1 while libzip
// writes. Throws std::runtime_error with a message naming the failing file.
Shared::Bytes BuildPayloadArchive(const std::vector<TPayloadItem>& items, const std::function<void(double)>& progress);

} // namespace Velmora::Pack
