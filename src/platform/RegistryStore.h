// Text values below the current user's root key: the Windows registry's HKEY_CURRENT_USER, and on
// Linux a per-user SQLite store with the same keys (case-insensitive), the same operations and
// transactions, so a crash loses nothing.
#pragma once

#include "shared/SysResult.h"
#include "shared/Text.h"

#include <memory>
#include <optional>

namespace Velmora::Platform {

// Key paths are below the root, separated by "\"; a leading "\" is ignored.
class TRegistryStore {
public:
    virtual ~TRegistryStore() = default;
    // Creates the key and every missing key on its path, then stores Value as text.
    virtual Shared::TSysStatus WriteValue(Shared::TextView Key, Shared::TextView Name, Shared::TextView Value) = 0;
    // The value's text; none when the key cannot be opened or the value does not exist.
    virtual std::optional<Shared::Text> ReadValue(Shared::TextView Key, Shared::TextView Name) = 0;
    virtual bool ValueExists(Shared::TextView Key, Shared::TextView Name) = 0;
    virtual Shared::TSysStatus DeleteValue(Shared::TextView Key, Shared::TextView Name) = 0;
    virtual bool KeyExists(Shared::TextView Key) = 0;
    // Deletes the key with everything below it.
    virtual Shared::TSysStatus DeleteKey(Shared::TextView Key) = 0;
};

// The current user's store.
std::unique_ptr<TRegistryStore> OpenUserRegistryStore();

} // namespace Velmora::Platform
