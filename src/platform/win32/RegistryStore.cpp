// Win32: the registry below HKEY_CURRENT_USER (RegCreateKeyExW, RegOpenKeyExW, RegSetValueExW,
// RegQueryValueExW, RegDeleteValueW, RegEnumKeyExW, RegDeleteKeyW), every key opened by an
// operation closed when it ends.
#include "platform/RegistryStore.h"

#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>

#include <vector>

namespace Velmora::Platform {

using namespace Shared;

namespace {

// STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS: enough to tell a key exists.
constexpr REGSAM ReadingRights = 0x20009;

UniqueKey OpenKey(TextView Key, REGSAM Access) {
    const Text path(Key);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path), 0, Access, &key) != ERROR_SUCCESS) return nullptr;
    return UniqueKey(key);
}

// The sub-keys of Key, then Key itself; true when Key is gone. Sub-keys that stay are skipped.
bool DeleteTreeBelow(HKEY Parent, const Text& Name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(Parent, Wide(Name), 0, KEY_ALL_ACCESS, &opened) == ERROR_SUCCESS) {
        const UniqueKey key(opened);
        DWORD count = 0, longest = 0;
        if (RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr) == ERROR_SUCCESS) {
            for (DWORD index = count; index-- > 0;) {
                std::vector<wchar_t> buffer(longest + 2);
                DWORD length = static_cast<DWORD>(buffer.size());
                if (RegEnumKeyExW(opened, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS)
                    DeleteTreeBelow(opened, FromWide(buffer.data(), length));
            }
        }
    }
    return RegDeleteKeyW(Parent, Wide(Name)) == ERROR_SUCCESS;
}

class TWindowsRegistry final : public TRegistryStore {
public:
    TRegistryWrite WriteValue(TextView Key, TextView Name, TextView Value) override {
        const Text path(Key), name(Name), value(Value);
        HKEY created = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &created, nullptr) != ERROR_SUCCESS)
            return TRegistryWrite::KeyNotOpened;
        const UniqueKey key(created);
        const auto size = static_cast<DWORD>((value.size() + 1) * sizeof(char16_t));
        if (RegSetValueExW(created, Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size) !=
            ERROR_SUCCESS)
            return TRegistryWrite::ValueNotSet;
        return TRegistryWrite::Written;
    }

    TRegistryRead ReadValue(TextView Key, TextView Name) override {
        const UniqueKey key = OpenKey(Key, KEY_ALL_ACCESS);
        if (!key) return {};
        const Text name(Name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key.get(), Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {TRegistryRead::OtherType, {}, size};
        // The value may change between the two calls: ask again while it grows.
        std::vector<BYTE> data(size + sizeof(wchar_t));
        for (;;) {
            DWORD room = static_cast<DWORD>(data.size());
            const LSTATUS status = RegQueryValueExW(key.get(), Wide(name), nullptr, &type, data.data(), &room);
            if (status == ERROR_MORE_DATA) {
                data.resize(room + sizeof(wchar_t));
                continue;
            }
            if (status != ERROR_SUCCESS) return {TRegistryRead::Unreadable, {}, 0};
            if (type != REG_SZ && type != REG_EXPAND_SZ) return {TRegistryRead::OtherType, {}, room};
            Text text(reinterpret_cast<const char16_t*>(data.data()), room / sizeof(char16_t));
            if (const auto nul = text.find(u'\0'); nul != Text::npos) text.resize(nul);
            return {TRegistryRead::String, std::move(text), room};
        }
    }

    bool ValueExists(TextView Key, TextView Name) override {
        const UniqueKey key = OpenKey(Key, KEY_ALL_ACCESS);
        if (!key) return false;
        const Text name(Name);
        return RegQueryValueExW(key.get(), Wide(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    bool DeleteValue(TextView Key, TextView Name) override {
        const UniqueKey key = OpenKey(Key, KEY_ALL_ACCESS);
        if (!key) return false;
        const Text name(Name);
        return RegDeleteValueW(key.get(), Wide(name)) == ERROR_SUCCESS;
    }

    bool KeyExists(TextView Key) override { return OpenKey(Key, ReadingRights) != nullptr; }

    bool DeleteKey(TextView Key) override {
        // The root itself is never deleted (RegDeleteKeyW of "" would refuse anyway).
        if (Key.empty() || !KeyExists(Key)) return false;
        return DeleteTreeBelow(HKEY_CURRENT_USER, Text(Key));
    }
};

} // namespace

std::unique_ptr<TRegistryStore> OpenUserRegistryStore() { return std::make_unique<TWindowsRegistry>(); }

} // namespace Velmora::Platform
