// Win32: the single-instance lock is a named mutex (CreateMutexW, per-logon namespace) whose
// name is the application identifier exactly; the handle is held until the lock is destroyed.
#include "startup/SingleInstance.h"

#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>

namespace Velmora::Runtime {

struct TSingleInstanceLock::Impl {
    Platform::UniqueHandle Mutex;
};

TSingleInstanceLock::TSingleInstanceLock(std::unique_ptr<Impl> impl) : FImpl(std::move(impl)) {}
TSingleInstanceLock::~TSingleInstanceLock() = default;

std::unique_ptr<TSingleInstanceLock> TSingleInstanceLock::Create(Shared::TextView Id, bool& AlreadyExisted) {
    const Shared::Text name(Id);
    auto impl = std::make_unique<Impl>();
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, Platform::Wide(name));
    // Only this code tells that another process holds the name; any other failure leaves no lock.
    AlreadyExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    impl->Mutex.reset(mutex);
    return std::unique_ptr<TSingleInstanceLock>(new TSingleInstanceLock(std::move(impl)));
}

} // namespace Velmora::Runtime
