// Text in the system's legacy 8-bit encoding: the ANSI code page on Windows, the character set of
// the user's locale on Linux (settings files without a byte-order mark are written in it).
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

// Bytes without a byte-order mark, decoded.
Shared::Text DecodeAnsiText(const Shared::Bytes& bytes);

} // namespace Velmora::Platform
