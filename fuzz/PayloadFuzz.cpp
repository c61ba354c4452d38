// The payload reader: open, list, find and extract mutated archives, with and without the
// archive password.
#include "payload/PayloadReader.h"

#include <cstddef>
#include <cstdint>

using namespace Velmora::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPayloadReader reader;
    reader.SetPassword((size & 1) ? ArchivePassword : std::string_view("wrong"));
    try {
        reader.Attach(Bytes(data, data + size));
    } catch (const EPayloadError&) {
        return 0;
    }
    const int count = reader.EntryCount();
    for (int i = 0; i < count && i < 16; ++i) {
        // A name that is no valid UTF-8 comes back with U+FFFD and is found by nothing: no app
        // file can be asked for by it.
        const Text name = reader.EntryName(i);
        Bytes content;
        reader.ExtractToStream(name, content);
        // The room an entry takes follows the bytes present, not what it claims.
        if (content.capacity() > 2 * size + 64 * 1024 && content.size() < size) __builtin_trap();
    }
    return 0;
}
