// The single-instance lock keyed by the application identifier: a named mutex in the per-logon
// namespace on Windows, an flock()ed file in $XDG_RUNTIME_DIR on Linux. Held until destroyed.
#pragma once

#include "shared/Text.h"

#include <memory>

namespace Velmora::Platform {

class TSingleInstanceLock {
public:
    virtual ~TSingleInstanceLock() = default;
};

// Creates (or opens) the lock named exactly by Id. AlreadyExisted tells whether another process
// of the same user already holds it.
std::unique_ptr<TSingleInstanceLock> CreateSingleInstanceLock(Shared::TextView Id, bool& AlreadyExisted);

} // namespace Velmora::Platform
