// The registry operations of the bridge: registry.*, text values below the current user's root
// key. Each call opens the store, does one thing and closes it again.
#pragma once

#include "shared/Text.h"

namespace Velmora::Shared {

class TBridgeCall;

class TRegistryOperations {
public:
    void WriteValue(const TBridgeCall& Call);
    void ReadValue(const TBridgeCall& Call);
    void ValueExist(const TBridgeCall& Call);
    void DeleteValue(const TBridgeCall& Call);
    void KeyExist(const TBridgeCall& Call);
    void DeleteKey(const TBridgeCall& Call);

    // The key path below the root as the page wrote it, one leading "\" dropped; nothing else in
    // it is interpreted.
    static Text KeyPath(TextView Key);
};

} // namespace Velmora::Shared
