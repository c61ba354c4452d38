// Win32: nothing to settle; the C runtime reads the zone from the system once.
#include "platform/LocalTimeZone.h"

namespace Velmora::Platform {

void SettleLocalTimeZone() {}

} // namespace Velmora::Platform
