// POSIX: standard output is already binary.
#include "Stdout.h"

#include <cstdio>

namespace Velmora::Pack {

bool WriteStdoutBinary(const std::uint8_t* data, std::size_t size) {
    return std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
}

} // namespace Velmora::Pack
