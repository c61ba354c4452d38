// The two plain message boxes: the bridge's OK box captioned with the application's title, and
// the system error box that reports an error nothing else handles.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

// A modal box with Msg and a single OK button; returns when the user has closed it.
void ShowMessage(Shared::TextView Msg, Shared::TextView Title);

// A modal box with the error icon, owned by the active window. Without a display (Linux), the
// caption and text go to standard error as "<caption>: <text>" instead.
void ShowSystemErrorBox(Shared::TextView Text, Shared::TextView Caption);

} // namespace Velmora::Platform
