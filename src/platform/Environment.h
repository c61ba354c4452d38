// The process's own environment, which child processes (the browser among them) inherit.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

void SetEnvVariable(Shared::TextView name, Shared::TextView value);
void RemoveEnvVariable(Shared::TextView name);

} // namespace Velmora::Platform
