// The process's local time zone, settled once so that converting many file times (every entry
// of the payload's directory) does not consult the system's zone data again on each call.
// Implemented per platform under src/platform/<name>/.
#pragma once

namespace Velmora::Shared {

// Keeps the same local time; only makes later conversions cheap. Safe to call repeatedly.
void SettleLocalTimeZone();

} // namespace Velmora::Shared
