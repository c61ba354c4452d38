// Linux: the browser engine is linked into the runtime, so it is always there.
#include "shared/SysUtils.h"

namespace Velmora::Shared {

bool TSysUtils::CheckEdgeIsInstalled(TextView) { return true; }

} // namespace Velmora::Shared
