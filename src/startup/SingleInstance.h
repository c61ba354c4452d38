// The single-instance lock keyed by the application identifier: a named mutex in the per-logon
// namespace on Windows, an flock()ed file in $XDG_RUNTIME_DIR on Linux. Held until destroyed.
#pragma once

#include "shared/Text.h"

#include <memory>

namespace Velmora::Runtime {

class TSingleInstanceLock {
public:
    // Creates (or opens) the lock named exactly by Id. AlreadyExisted tells whether another
    // process of the same user already holds it.
    static std::unique_ptr<TSingleInstanceLock> Create(Shared::TextView Id, bool& AlreadyExisted);
    ~TSingleInstanceLock();
    TSingleInstanceLock(const TSingleInstanceLock&) = delete;
    TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;

private:
    struct Impl;
    explicit TSingleInstanceLock(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> FImpl;
};

} // namespace Velmora::Runtime
