// POSIX: the system's message for an errno value (strerror, in the locale's language), and the
// last error of the calling thread.
#include "platform/SystemError.h"

#include "platform/AnsiText.h"

#include <cerrno>
#include <climits>
#include <cstring>

namespace Velmora::Platform {

Shared::Text SystemErrorMessage(std::uint32_t code) {
    // A code the C library has no name for has no message of its own ("Unknown error N").
    if (code > INT_MAX || strerrorname_np(static_cast<int>(code)) == nullptr) return {};
    char buffer[256];
    const std::string_view message = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    return DecodeAnsiText(Shared::Bytes(message.begin(), message.end()));
}

std::uint32_t LastErrorCode() { return static_cast<std::uint32_t>(errno); }

} // namespace Velmora::Platform
