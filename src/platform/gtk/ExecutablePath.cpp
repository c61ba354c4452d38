// Linux: the running executable's path from /proc/self/exe.
#include "platform/ExecutablePath.h"

#include <filesystem>
#include <system_error>

namespace Velmora::Platform {

using namespace Shared;

Text ExecutablePath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? Text() : FromPath(path);
}

} // namespace Velmora::Platform
