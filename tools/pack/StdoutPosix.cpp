// POSIX: standard output is already binary.
#include "Stdout.h"

#include <cstdio>

namespace Velmora::Pack {

bool WriteStdoutBinary(const std::uint8_t* data, std::size_t size) {
    // An empty entry has no buffer at all: fwrite must not see a null pointer.
    if (size > 0 && std::fwrite(data, 1, size, stdout) != size) return false;
    return std::fflush(stdout) == 0;
}

} // namespace Velmora::Pack
