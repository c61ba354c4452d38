// Linux: the browser engine is linked into the runtime, so it is always there.
#include "platform/BrowserRuntime.h"

namespace Velmora::Platform {

bool BrowserRuntimeInstalled(Shared::TextView) { return true; }

} // namespace Velmora::Platform
