// The operating system's error codes and their messages (FormatMessageW / strerror).
#pragma once

#include "shared/Text.h"

#include <cstdint>

namespace Velmora::Platform {

// The calling thread's last error code (GetLastError, errno).
std::uint32_t LastErrorCode();
// The system's own message for a code, untrimmed; empty when the system has none.
Shared::Text SystemErrorMessage(std::uint32_t code);

} // namespace Velmora::Platform
