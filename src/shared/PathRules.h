// Path rules shared by every layer: the file system's separator and folder paths that end with it.
#pragma once

#include "shared/Text.h"

#include <filesystem>

namespace Velmora::Shared {

// Backslash on Windows, "/" on Linux.
inline constexpr char16_t PathDelimiter = static_cast<char16_t>(std::filesystem::path::preferred_separator);

// Path with one separator at its end (the separator alone for an empty path).
inline Text WithTrailingPathDelimiter(Text path) {
    if (path.empty() || path.back() != PathDelimiter) path += PathDelimiter;
    return path;
}

} // namespace Velmora::Shared
