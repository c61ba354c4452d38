// Linux: the content types the system registers, read from /etc/mime.types (Debian's
// media-types package). A missing or unreadable file gives no entries.
#include "platform/MimeOverlay.h"

#include <fstream>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

std::vector<TMimeEntry> ReadSystemMimeTypes() {
    std::ifstream file("/etc/mime.types", std::ios::binary | std::ios::ate);
    if (!file) return {};
    const std::streamoff size = file.tellg();
    if (size <= 0) return {};
    std::string text(static_cast<size_t>(size), '\0');
    file.seekg(0);
    file.read(text.data(), size);
    text.resize(static_cast<size_t>(file.gcount()));
    return ParseMimeTypesText(text);
}

} // namespace Velmora::Platform
