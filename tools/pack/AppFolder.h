// What of an app folder goes into the payload: every file and folder not ignored (IgnoreRules.h),
// in a stable order; links are followed only where they point inside the app folder.
#pragma once

#include "IgnoreRules.h"
#include "PayloadWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace Velmora::Pack {

struct TAppFiles {
    std::vector<TPayloadItem> Items;   // qmt.ini first, then the DirName folder and its content
    std::vector<std::string> Warnings; // one line each: what was left out and why
    std::size_t FileCount = 0;
    std::uint64_t BytesIn = 0;
};

// Collects appDir. iniPath becomes "qmt.ini" (whichever file it is); the other root entry files
// at the top of the folder become the payload's own entries; everything else goes below dirName.
// leaveOut names a file never to pack (the output being written). Throws EPackError.
TAppFiles CollectAppFiles(const std::filesystem::path& appDir, const std::filesystem::path& iniPath,
                          const Shared::Text& dirName, const TIgnoreRules& rules, bool compress,
                          const std::filesystem::path& leaveOut);

} // namespace Velmora::Pack
