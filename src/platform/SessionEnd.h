// Ending the user's session: log off, restart, power off (system.logoff/reboot/shutdown).
#pragma once

#include "shared/SysResult.h"

#include <cstdint>

namespace Velmora::Platform {

enum class TSessionEnd : std::uint8_t { LogOff, Reboot, PowerOff };

// Asks the system to end the session now, forcing other applications to close without asking
// them (Windows: ExitWindowsEx with EWX_FORCE; Linux: logind). Success means the system accepted
// the request, which it carries out asynchronously; a refusal carries the system's error code.
Shared::TSysStatus EndSession(TSessionEnd How);

} // namespace Velmora::Platform
