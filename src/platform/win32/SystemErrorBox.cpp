// Win32: the plain system message box (MessageBoxW) owned by the active window.
#include "shared/SysUtils.h"

#include <windows.h>

namespace Velmora::Shared {

void TSysUtils::ShowSystemErrorBox(TextView text, TextView caption) {
    const Text t(text), c(caption);
    MessageBoxW(GetActiveWindow(), reinterpret_cast<LPCWSTR>(t.c_str()),
                reinterpret_cast<LPCWSTR>(c.c_str()), MB_OK | MB_ICONERROR);
}

} // namespace Velmora::Shared
