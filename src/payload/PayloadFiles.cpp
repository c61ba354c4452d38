#include "payload/PayloadFiles.h"

#include "payload/PayloadReader.h"

#include <fstream>
#include <stdexcept>

namespace Velmora::Runtime {

void ExtractEntryToFile(const Shared::TPayloadReader& reader, Shared::TextView entryName, Shared::TextView FilePath) {
    std::ofstream out(Shared::ToPath(FilePath), std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("Cannot create file \"" + Shared::ToUtf8(FilePath) + "\"");
    Shared::Bytes content;
    reader.ExtractToStream(entryName, content);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) throw std::runtime_error("Cannot write file \"" + Shared::ToUtf8(FilePath) + "\"");
}

} // namespace Velmora::Runtime
