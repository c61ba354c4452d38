// The shell and system operations of the bridge: shell.*, system.logoff, system.reboot, system.shutdown.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TShellOperations {
public:
};

} // namespace Velmora::Shared
