// POSIX: the process's own environment (setenv/unsetenv); child processes inherit it.
#include "platform/Environment.h"

#include <cstdlib>

namespace Velmora::Platform {

void SetEnvVariable(Shared::TextView name, Shared::TextView value) {
    ::setenv(Shared::ToUtf8(name).c_str(), Shared::ToUtf8(value).c_str(), 1);
}

void RemoveEnvVariable(Shared::TextView name) { ::unsetenv(Shared::ToUtf8(name).c_str()); }

} // namespace Velmora::Platform
