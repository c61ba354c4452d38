// Sets the process's time zone (TZ) for the scope of a test and restores it afterwards, through
// the platform's own switch (platform/LocalTimeZone.h).
#pragma once

#include "platform/LocalTimeZone.h"

#include <optional>
#include <string>

namespace Velmora::Tests {

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) : FOld(Platform::SwitchTimeZoneToUtc()) {
        Platform::RestoreTimeZone(zone);
    }
    ~ScopedTimeZone() { Platform::RestoreTimeZone(FOld); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> FOld;
};

} // namespace Velmora::Tests
