// Linux: the content types the system registers, read from /etc/mime.types (Debian's
// media-types package). A missing or unreadable file gives no entries.
#include "shared/MimeTypes.h"

#include <fstream>
#include <iterator>
#include <string>

namespace Velmora::Shared {

std::vector<TMimeEntry> ReadSystemMimeTypes() {
    std::ifstream file("/etc/mime.types", std::ios::binary);
    if (!file) return {};
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ParseMimeTypesText(text);
}

} // namespace Velmora::Shared
