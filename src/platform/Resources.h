// Files built into the executable (resources/): images and the injected scripts. Windows keeps
// them as RCDATA resources, Linux as arrays compiled in; both are found by name.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace Velmora::Platform {

// The bytes of the named resource ("MSG_ERROR", "KEY16", ...); empty when there is none.
std::span<const std::uint8_t> FindResourceData(std::string_view name);

} // namespace Velmora::Platform
