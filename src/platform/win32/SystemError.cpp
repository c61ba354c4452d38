// Win32: the system's message for an error code (FormatMessageW from the system table) and the
// calling thread's last error code.
#include "platform/SystemError.h"

#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>

namespace Velmora::Platform {

Shared::Text SystemErrorMessage(std::uint32_t code) {
    wchar_t* raw = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM |
                        FORMAT_MESSAGE_ARGUMENT_ARRAY;
    const DWORD length = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<LPWSTR>(&raw), 0, nullptr);
    const UniqueLocalMemory<wchar_t> owned(raw);
    if (length == 0 || !raw) return {};
    return FromWide(raw, length);
}

std::uint32_t LastErrorCode() { return ::GetLastError(); }

} // namespace Velmora::Platform
