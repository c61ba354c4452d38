// Writes the payload archive of a packaged executable with libzip: every entry encrypted
// (traditional PKWARE) with the fixed archive password, "/" as folder separator; stored, or
// deflated on request. The archive goes straight to a file and each file is read only while
// libzip writes its entry, so memory does not grow with the app.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace Velmora::Pack {

struct TPayloadItem {
    Shared::Text EntryName;       // "/"-separated; folders end in "/"
    std::filesystem::path Source; // empty for a folder entry
    bool Deflate = false;         // compressed (deflate) rather than stored
};

// Writes the archive to zipPath (replacing it). Progress receives 0..1 while libzip writes.
// Throws std::runtime_error with a one-line message naming the failing file.
void WritePayloadArchive(const std::vector<TPayloadItem>& items, const std::filesystem::path& zipPath,
                         const std::function<void(double)>& progress);

// The same archive as bytes in memory (through a temporary file), for tests and benchmarks that
// attach it straight to a reader.
Shared::Bytes BuildPayloadArchive(const std::vector<TPayloadItem>& items, const std::function<void(double)>& progress);

// Whether a file's content is already compressed (images, fonts, media, archives), so that
// deflating it again would only cost time at start-up and gain nothing.
bool IsCompressedFormat(const std::filesystem::path& path);

} // namespace Velmora::Pack
