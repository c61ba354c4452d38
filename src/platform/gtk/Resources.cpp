// Linux: built-in files are byte arrays compiled into the program; cmake/EmbedResources.cmake
// generates the table from resources/CMakeLists.txt, and this looks names up in it.
#include "platform/Resources.h"

#include "EmbeddedResourceTable.h"

namespace Velmora::Platform {

std::span<const std::uint8_t> FindResourceData(std::string_view name) {
    for (const auto& [key, data] : EmbeddedResourceTable)
        if (key == name) return data;
    return {};
}

} // namespace Velmora::Platform
