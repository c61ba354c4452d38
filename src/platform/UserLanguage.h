// The user's language, as the start-up messages pick their table row by it.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

// ISO 639 language name of the user's default locale ("en", "de", "zh"; Linux: LC_MESSAGES);
// empty when the system cannot tell. Asked of the system on every call.
Shared::Text UserLanguageCode();

} // namespace Velmora::Platform
