// Win32: the process's own environment block (SetEnvironmentVariableW; a null value removes).
#include "platform/Environment.h"

#include "platform/win32/WinText.h"

#include <windows.h>

namespace Velmora::Platform {

void SetEnvVariable(Shared::TextView name, Shared::TextView value) {
    const Shared::Text n(name), v(value);
    ::SetEnvironmentVariableW(Wide(n), Wide(v));
}

void RemoveEnvVariable(Shared::TextView name) {
    const Shared::Text n(name);
    ::SetEnvironmentVariableW(Wide(n), nullptr);
}

} // namespace Velmora::Platform
