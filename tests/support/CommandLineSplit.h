// Splits a parameter text the way the platform's process start reads it, to check quoting by
// parsing it back (tests/support/<platform>/CommandLineSplit.cpp).
#pragma once

#include "shared/Text.h"

#include <optional>
#include <vector>

namespace Velmora::Tests {

// The arguments of Parameters; empty when the platform rejects the text.
std::optional<std::vector<Shared::Text>> SplitCommandLine(Shared::TextView Parameters);

} // namespace Velmora::Tests
