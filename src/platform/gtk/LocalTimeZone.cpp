// POSIX: settles the time zone through the TZ environment variable.
#include "platform/LocalTimeZone.h"

#include <cstdlib>
#include <ctime>

namespace Velmora::Platform {

void SettleLocalTimeZone() {
    // With TZ unset, glibc's mktime checks /etc/localtime again on every call. Naming that same
    // file keeps the local time and lets the C library read it once.
    if (std::getenv("TZ") == nullptr) setenv("TZ", ":/etc/localtime", 0);
    tzset();
}

} // namespace Velmora::Platform
