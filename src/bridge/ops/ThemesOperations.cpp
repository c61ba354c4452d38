#include "bridge/ops/ThemesOperations.h"

#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"

namespace Velmora::Shared {} // namespace Velmora::Shared
