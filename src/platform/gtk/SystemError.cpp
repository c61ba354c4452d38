// POSIX: the system's message for an errno value (strerror, in the locale's language), and the
// last error of the calling thread.
#include "shared/SysUtils.h"

#include <cerrno>
#include <climits>
#include <cstring>

namespace Velmora::Shared {

Text TSysUtils::GetSystemErrorText(std::uint32_t code) {
    // A code the C library has no name for has no message of its own ("Unknown error N").
    if (code > INT_MAX || strerrorname_np(static_cast<int>(code)) == nullptr) return {};
    char buffer[256];
    const char* message = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    const std::string_view bytes(message);
    Text text = DecodeAnsiText(Bytes(bytes.begin(), bytes.end()));
    while (!text.empty() && (text.back() == u'.' || text.back() <= u' ')) text.pop_back();
    return text;
}

std::uint32_t TSysUtils::GetLastErrorCode() { return static_cast<std::uint32_t>(errno); }

} // namespace Velmora::Shared
