// Binary output on standard output (velmora-pack cat): no newline translation on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Velmora::Pack {

// Writes all bytes; false when standard output fails (a closed pipe, a full disk).
bool WriteStdoutBinary(const std::uint8_t* data, std::size_t size);

} // namespace Velmora::Pack
