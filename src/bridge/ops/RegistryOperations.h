// The registry operations of the bridge: registry.*.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TRegistryOperations {
public:
};

} // namespace Velmora::Shared
