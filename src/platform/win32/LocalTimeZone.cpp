// Win32: the C runtime's zone through its TZ variable (_putenv_s, _tzset); without TZ it takes
// the system's zone.
#include "platform/LocalTimeZone.h"

#include <cstdlib>
#include <ctime>

namespace Velmora::Platform {

std::optional<std::string> SwitchTimeZoneToUtc() {
    std::optional<std::string> previous;
    if (const char* tz = std::getenv("TZ")) previous = tz;
    _putenv_s("TZ", "UTC0");
    _tzset();
    return previous;
}

void RestoreTimeZone(const std::optional<std::string>& Previous) {
    // An empty value removes the variable.
    _putenv_s("TZ", Previous ? Previous->c_str() : "");
    _tzset();
}

} // namespace Velmora::Platform
