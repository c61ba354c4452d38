// Linux: the running executable's path from /proc/self/exe.
#include "shared/SysUtils.h"

#include <filesystem>
#include <system_error>

namespace Velmora::Shared {

Text TSysUtils::GetExeFilePath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? Text() : FromPath(path);
}

} // namespace Velmora::Shared
