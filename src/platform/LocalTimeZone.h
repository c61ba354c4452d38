// The process's local time zone, settled once so that converting many file times (every entry
// of the payload's directory) does not consult the system's zone data again on each call.
#pragma once

namespace Velmora::Platform {

// Keeps the same local time; only makes later conversions cheap. Safe to call repeatedly.
void SettleLocalTimeZone();

} // namespace Velmora::Platform
