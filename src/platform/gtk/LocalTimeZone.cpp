// POSIX: the zone through the TZ variable and tzset; "UTC0" needs no zone file.
#include "platform/LocalTimeZone.h"

#include <cstdlib>
#include <ctime>

namespace Velmora::Platform {

std::optional<std::string> SwitchTimeZoneToUtc() {
    std::optional<std::string> previous;
    if (const char* tz = std::getenv("TZ")) previous = tz;
    setenv("TZ", "UTC0", 1);
    tzset();
    return previous;
}

void RestoreTimeZone(const std::optional<std::string>& Previous) {
    if (Previous) setenv("TZ", Previous->c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

} // namespace Velmora::Platform
