// A plain modal message box with a single OK button, captioned with the application's title.
// Implemented per platform (src/platform/<name>/ShowMessage.cpp).
#pragma once

#include "shared/Text.h"

namespace Velmora::Shared {

// Shows Msg and returns when the user has closed the box.
void ShowMessage(TextView Msg, TextView Title);

} // namespace Velmora::Shared
