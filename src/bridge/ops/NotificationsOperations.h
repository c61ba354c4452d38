// Desktop notifications of the bridge: system.notification.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TNotificationsOperations {
public:
};

} // namespace Velmora::Shared
