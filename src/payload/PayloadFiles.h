// Copies payload entries to files on disk (the loader library and the installer).
#pragma once

#include "shared/Text.h"

namespace Velmora::Shared {
class TPayloadReader;
}

namespace Velmora::Runtime {

// Creates (or truncates) the file FilePath and writes the entry's bytes into it; a missing
// entry gives an empty file. Throws std::runtime_error when the file cannot be written.
void ExtractEntryToFile(const Shared::TPayloadReader& reader, Shared::TextView entryName, Shared::TextView FilePath);

} // namespace Velmora::Runtime
