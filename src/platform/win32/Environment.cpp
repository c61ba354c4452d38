// Win32: the process's own environment block (SetEnvironmentVariableW; a null value removes).
// <windows.h> maps SetEnvironmentVariable to its W form, which would rename our member here
// but not in portable code; the macro is dropped so both see the same name.
#include <windows.h>
#undef SetEnvironmentVariable

#include "shared/SysUtils.h"

#include "platform/win32/WinText.h"

namespace Velmora::Shared {

void TSysUtils::SetEnvironmentVariable(TextView name, TextView value) {
    const Text n(name), v(value);
    ::SetEnvironmentVariableW(Platform::Wide(n), Platform::Wide(v));
}

void TSysUtils::RemoveEnvironmentVariable(TextView name) {
    const Text n(name);
    ::SetEnvironmentVariableW(Platform::Wide(n), nullptr);
}

} // namespace Velmora::Shared
