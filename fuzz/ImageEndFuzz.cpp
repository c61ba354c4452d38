// The executable-layout reader: PE and ELF headers from files we did not write. Every offset and
// sum is checked against the bytes and 64 bits; the sanitizers report any read or overflow.
#include "payload/ExeUtils.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    volatile auto end = Velmora::Shared::TExeUtils::GetImageEnd(data, size).value_or(0);
    (void)end;
    return 0;
}
