// POSIX: the process's own environment (setenv/unsetenv); child processes inherit it.
#include "shared/SysUtils.h"

#include <cstdlib>

namespace Velmora::Shared {

void TSysUtils::SetEnvironmentVariable(TextView name, TextView value) {
    ::setenv(ToUtf8(name).c_str(), ToUtf8(value).c_str(), 1);
}

void TSysUtils::RemoveEnvironmentVariable(TextView name) { ::unsetenv(ToUtf8(name).c_str()); }

} // namespace Velmora::Shared
