// Win32: text without byte-order mark is read in the system's ANSI code page (CP_ACP).
#include "platform/AnsiText.h"

#include <windows.h>

namespace Velmora::Platform {

using namespace Shared;

Text DecodeAnsiText(const Bytes& bytes) {
    if (bytes.empty()) return {};
    const auto* src = reinterpret_cast<const char*>(bytes.data());
    const int srcLen = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, src, srcLen, nullptr, 0);
    Text out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, src, srcLen, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

} // namespace Velmora::Platform
