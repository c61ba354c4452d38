// Icons from the PNG images among our resources, decoded with the Windows Imaging Component.
#pragma once

#include "platform/win32/WinHandles.h"

#include <cstdint>
#include <span>

namespace Velmora::Platform {

// The PNG scaled to size x size pixels as an icon with its alpha channel; null when the data
// does not decode.
UniqueIcon IconFromPng(std::span<const std::uint8_t> png, int size);

} // namespace Velmora::Platform
