// The shell and system operations of the bridge: shell.*, system.logoff, system.reboot,
// system.shutdown.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <vector>

namespace Velmora::Shared {

class TBridgeCall;

class TShellOperations {
public:
    void ShellExecute(const TBridgeCall& Call);
    void ShellExplore(const TBridgeCall& Call);
    void ShellCommand(const TBridgeCall& Call);
    void ShellWindows(const TBridgeCall& Call);
    void SystemLogoff(const TBridgeCall& Call);
    void SystemReboot(const TBridgeCall& Call);
    void SystemShutdown(const TBridgeCall& Call);

    // shell.windows's result: "[", each caption as a JSON string, "," between them, "]".
    static Text CaptionsToJsonArray(const std::vector<Text>& Captions);

private:
    static void EndSession(const TBridgeCall& Call, std::uint32_t Flags);
};

} // namespace Velmora::Shared
