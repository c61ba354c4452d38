// POSIX: deletes a folder with everything in it, or a single file, silently and for good.
// Symbolic links are removed, never followed.
#include "shared/SysUtils.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace Velmora::Shared {

bool TSysUtils::DeleteDirectory(TextView DirPath) {
    if (DirPath.empty()) {
        errno = ENOENT;
        return false;
    }
    std::error_code ec;
    const auto removed = std::filesystem::remove_all(ToPath(DirPath), ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    if (removed == 0) {
        errno = ENOENT;
        return false;
    }
    return true;
}

} // namespace Velmora::Shared
