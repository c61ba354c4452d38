// Win32: nothing to settle; the C runtime reads the zone from the system once.
#include "startup/LocalTimeZone.h"

namespace Velmora::Shared {

void SettleLocalTimeZone() {}

} // namespace Velmora::Shared
