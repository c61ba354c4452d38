// Win32: the C runtime opens standard output in text mode; switch it to binary (_setmode).
#include "Stdout.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace Velmora::Pack {

bool WriteStdoutBinary(const std::uint8_t* data, std::size_t size) {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    if (size > 0 && std::fwrite(data, 1, size, stdout) != size) return false;
    return std::fflush(stdout) == 0;
}

} // namespace Velmora::Pack
