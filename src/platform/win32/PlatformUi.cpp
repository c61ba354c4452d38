// Win32: the common controls (version 6 through the manifest) before the first window.
#include "startup/StartupUi.h"

#include <windows.h>
#include <commctrl.h>

namespace Velmora::Runtime {

void InitializePlatformUi() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

} // namespace Velmora::Runtime
