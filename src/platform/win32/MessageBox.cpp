// Win32: the plain message boxes (MessageBoxW) owned by the active window: the bridge's OK box
// without an icon, and the system error box.
#include "platform/MessageBox.h"

#include "platform/win32/WinText.h"

#include <windows.h>

namespace Velmora::Platform {

namespace {

void Box(Shared::TextView text, Shared::TextView caption, UINT type) {
    const Shared::Text t(text), c(caption);
    MessageBoxW(GetActiveWindow(), Wide(t), Wide(c), type);
}

} // namespace

void ShowMessage(Shared::TextView Msg, Shared::TextView Title) { Box(Msg, Title, MB_OK | MB_TASKMODAL); }

void ShowSystemErrorBox(Shared::TextView Text, Shared::TextView Caption) { Box(Text, Caption, MB_OK | MB_ICONERROR); }

} // namespace Velmora::Platform
