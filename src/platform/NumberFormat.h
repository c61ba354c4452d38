// How the user writes numbers: the decimal separator of the user's locale, which numbers shown
// to the page (the zoom factor) are written with.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

// "." or "," or whatever the user's locale uses (Windows: the user's regional settings; Linux:
// LC_NUMERIC as the environment names it). "." when the system cannot tell. Asked of the system
// on every call.
Shared::Text UserDecimalSeparator();

} // namespace Velmora::Platform
