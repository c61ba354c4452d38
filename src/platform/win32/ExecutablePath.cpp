// Win32: the full path of the process's main module (GetModuleFileNameW).
#include "platform/ExecutablePath.h"

#include <windows.h>

namespace Velmora::Platform {

using namespace Shared;

Text ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return Text(reinterpret_cast<const char16_t*>(buffer.data()), n);
        buffer.resize(buffer.size() * 2); // long path: the name was truncated
    }
}

} // namespace Velmora::Platform
