// Win32: the system's message for an error code (FormatMessageW from the system table) and the
// calling thread's last error code.
#include "shared/SysUtils.h"

#include "platform/win32/WinText.h"

#include <windows.h>

#include <memory>

namespace Velmora::Shared {

namespace {

struct LocalFreer {
    void operator()(wchar_t* text) const { LocalFree(text); }
};

} // namespace

Text TSysUtils::GetSystemErrorText(std::uint32_t code) {
    wchar_t* raw = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY;
    const DWORD length = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<LPWSTR>(&raw), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreer> owned(raw);
    if (length == 0 || !raw) return {};
    Text text = Platform::FromWide(raw, length);
    // The system's texts end with a period and a line break.
    while (!text.empty() && (text.back() == u'.' || text.back() <= u' ')) text.pop_back();
    return text;
}

std::uint32_t TSysUtils::GetLastErrorCode() { return ::GetLastError(); }

} // namespace Velmora::Shared
