// Win32: built-in files are RCDATA resources of the executable (FindResourceA/LoadResource).
#include "platform/Resources.h"

#include <windows.h>

#include <string>

namespace Velmora::Platform {

std::span<const std::uint8_t> FindResourceData(std::string_view name) {
    const std::string key(name);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceA(module, key.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info); // module memory: nothing to free
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, info)};
}

} // namespace Velmora::Platform
