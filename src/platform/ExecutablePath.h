// Where the running program is: the full path of its own executable file.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

Shared::Text ExecutablePath();

} // namespace Velmora::Platform
