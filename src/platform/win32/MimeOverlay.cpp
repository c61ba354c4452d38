// Win32: the content types the registry registers, read from HKEY_CLASSES_ROOT: first every
// ".ext" key's "Content Type" value, then every subkey of MIME\Database\Content Type with its
// "Extension" value (RegEnumKeyExW, RegGetValueW).
#include "platform/MimeOverlay.h"

#include "platform/win32/WinHandles.h"

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

namespace {

UniqueKey OpenKey(HKEY parent, const wchar_t* subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return UniqueKey(key);
}

Text ToText(const std::wstring& text) { return Text(reinterpret_cast<const char16_t*>(text.data()), text.size()); }

// A REG_SZ value of key\subKey; empty when absent, of another type or empty.
std::wstring ReadString(HKEY key, const wchar_t* subKey, const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(key, subKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(key, subKey, name, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS) return {};
    value.resize(wcsnlen(value.data(), value.size()));
    return value;
}

// Calls visit with the name of every subkey of key, in the registry's order.
template <typename Visit>
void ForEachSubKey(HKEY key, Visit visit) {
    wchar_t name[256]; // a key name holds at most 255 characters
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LSTATUS status = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) visit(std::wstring(name, length));
        else if (status != ERROR_MORE_DATA) // no more items, or the key cannot be listed
            break;
    }
}

} // namespace

std::vector<TMimeEntry> ReadSystemMimeTypes() {
    std::vector<TMimeEntry> entries;
    ForEachSubKey(HKEY_CLASSES_ROOT, [&](const std::wstring& name) {
        if (name.empty() || name[0] != L'.') return;
        const std::wstring type = ReadString(HKEY_CLASSES_ROOT, name.c_str(), L"Content Type");
        if (!type.empty()) entries.push_back({ToText(name), ToText(type)});
    });
    if (const UniqueKey database = OpenKey(HKEY_CLASSES_ROOT, L"MIME\\Database\\Content Type")) {
        ForEachSubKey(database.get(), [&](const std::wstring& type) {
            const std::wstring extension = ReadString(database.get(), type.c_str(), L"Extension");
            if (!extension.empty()) entries.push_back({ToText(extension), ToText(type)});
        });
    }
    return entries;
}

} // namespace Velmora::Platform
