#include "bridge/ops/MenusOperations.h"

#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"

namespace Velmora::Shared {} // namespace Velmora::Shared
