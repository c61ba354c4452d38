// Win32: log off, restart and shut down through ExitWindowsEx with EWX_FORCE, after enabling the
// shutdown privilege in the process's token (OpenProcessToken, AdjustTokenPrivileges).
#include "platform/SessionEnd.h"

#include "platform/win32/WinHandles.h"

#include <windows.h>

namespace Velmora::Platform {

using namespace Shared;

namespace {

// Failures here are not reported: ExitWindowsEx then refuses with its own reason.
void EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    const UniqueHandle owned(token);
    TOKEN_PRIVILEGES privileges = {};
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous = {};
    DWORD previousLength = 0;
    AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous), &previous, &previousLength);
}

UINT Flags(TSessionEnd How) {
    switch (How) {
        case TSessionEnd::Reboot: return EWX_REBOOT | EWX_FORCE;
        case TSessionEnd::PowerOff: return EWX_SHUTDOWN | EWX_FORCE;
        case TSessionEnd::LogOff: break;
    }
    return EWX_LOGOFF | EWX_FORCE;
}

} // namespace

TSysStatus EndSession(TSessionEnd How) {
    EnableShutdownPrivilege();
    if (!ExitWindowsEx(Flags(How), 0)) return TSysStatus::Failure(GetLastError());
    return TSysStatus::Success();
}

} // namespace Velmora::Platform
