// Linux: the single-instance lock is an flock()ed file named after the application identifier
// in $XDG_RUNTIME_DIR (per user, per logon), or in the temporary folder with the user's id in
// its name. The kernel drops the lock when the process ends, however it ends.
#include "platform/SingleInstance.h"

#include "platform/gtk/GtkHandles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace Velmora::Platform {

namespace {

// Keeps file names well below NAME_MAX however long the identifier is.
constexpr size_t MaxEscapedLength = 160;

// Every byte outside [A-Za-z0-9._-] as %XX: no "/" and no two identifiers on one file.
std::string EscapeForFileName(const std::string& id) {
    std::string out;
    for (unsigned char c : id) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
            c == '-') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    if (out.size() > MaxEscapedLength) {
        // A long identifier keeps its beginning and a hash of the whole (FNV-1a, 64 bits).
        std::uint64_t hash = 14695981039346656037ull;
        for (unsigned char c : id) hash = (hash ^ c) * 1099511628211ull;
        char tail[20];
        std::snprintf(tail, sizeof tail, "~%016llx", static_cast<unsigned long long>(hash));
        out = out.substr(0, MaxEscapedLength) + tail;
    }
    return out;
}

std::string LockFilePath(const std::string& id) {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && runtimeDir[0] == '/')
        return std::string(runtimeDir) + "/velmora-" + EscapeForFileName(id) + ".lock";
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir = tmp && tmp[0] == '/' ? tmp : "/tmp";
    return dir + "/velmora-" + std::to_string(getuid()) + "-" + EscapeForFileName(id) + ".lock";
}

class TLockFile final : public TSingleInstanceLock {
public:
    explicit TLockFile(FileDescriptor file) : FFile(std::move(file)) {}

private:
    FileDescriptor FFile;
};

} // namespace

std::unique_ptr<TSingleInstanceLock> CreateSingleInstanceLock(Shared::TextView Id, bool& AlreadyExisted) {
    AlreadyExisted = false;
    // Not inherited by the programs we start: they must not keep the lock after we end.
    FileDescriptor file(
        ::open(LockFilePath(Shared::ToUtf8(Id)).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR));
    // A lock file that cannot be opened cannot tell of another instance: start as the only one.
    if (file.valid()) {
        int rc;
        do rc = ::flock(file.get(), LOCK_EX | LOCK_NB);
        while (rc != 0 && errno == EINTR);
        AlreadyExisted = rc != 0 && errno == EWOULDBLOCK;
    }
    return std::make_unique<TLockFile>(std::move(file));
}

} // namespace Velmora::Platform
