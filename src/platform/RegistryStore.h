// Text values below the current user's root key: the Windows registry's HKEY_CURRENT_USER, and on
// Linux a per-user SQLite store with the same tree (key and value names compared without regard
// to ASCII letter case), the same operations and a transaction per write, so a crash loses
// nothing committed.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <memory>

namespace Velmora::Platform {

enum class TRegistryWrite : std::uint8_t {
    Written,
    KeyNotOpened, // the key could not be opened or created
    ValueNotSet,  // the key opened, the value could not be stored
};

struct TRegistryRead {
    enum TOutcome : std::uint8_t {
        Missing,    // no such key or value, or its size cannot be read
        String,     // a text value (REG_SZ or REG_EXPAND_SZ, as stored): Value holds it
        OtherType,  // a value of another type; DataSize tells how many bytes it holds
        Unreadable, // the value exists but its data could not be read
    };
    TOutcome Outcome = Missing;
    Shared::Text Value;
    std::uint32_t DataSize = 0;
};

// Key paths are below the root, separated by "\" and taken as they are: the callers drop a
// leading "\"; an empty path names the root itself. Value names are never empty.
class TRegistryStore {
public:
    virtual ~TRegistryStore() = default;
    // Creates the key and every missing key on its path, then stores Value as text (REG_SZ),
    // replacing a value of that name of any type.
    virtual TRegistryWrite WriteValue(Shared::TextView Key, Shared::TextView Name, Shared::TextView Value) = 0;
    // The value as stored, or why there is none; the text ends at its first NUL.
    virtual TRegistryRead ReadValue(Shared::TextView Key, Shared::TextView Name) = 0;
    virtual bool ValueExists(Shared::TextView Key, Shared::TextView Name) = 0;
    // False when the key cannot be opened or there was no such value.
    virtual bool DeleteValue(Shared::TextView Key, Shared::TextView Name) = 0;
    virtual bool KeyExists(Shared::TextView Key) = 0;
    // Deletes the key with everything below it, depth first; true when the key itself is gone.
    // The root is never deleted.
    virtual bool DeleteKey(Shared::TextView Key) = 0;
};

// The current user's store.
std::unique_ptr<TRegistryStore> OpenUserRegistryStore();

} // namespace Velmora::Platform
