// Win32: the single-instance lock is a named mutex (CreateMutexW, per-logon namespace) whose
// name is the application identifier exactly; the handle is held until the lock is destroyed.
#include "platform/SingleInstance.h"

#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>

namespace Velmora::Platform {

namespace {

class TNamedMutexLock final : public TSingleInstanceLock {
public:
    explicit TNamedMutexLock(HANDLE mutex) : FMutex(mutex) {}

private:
    UniqueHandle FMutex;
};

} // namespace

std::unique_ptr<TSingleInstanceLock> CreateSingleInstanceLock(Shared::TextView Id, bool& AlreadyExisted) {
    const Shared::Text name(Id);
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide(name));
    // Only this code tells that another process holds the name; any other failure leaves no lock.
    AlreadyExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    return std::make_unique<TNamedMutexLock>(mutex);
}

} // namespace Velmora::Platform
