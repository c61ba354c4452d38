// Sets the process's time zone (TZ) for the scope of a test and restores it afterwards, through
// the platform's own switch (platform/LocalTimeZone.h).
#pragma once

#include "payload/ZipTimeZone.h"

#include <string>

namespace Velmora::Tests {

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) { Platform::RestoreTimeZone(zone); }

private:
    Shared::TZipTimeZone FSaved; // keeps the zone before the test's and puts it back last
};

} // namespace Velmora::Tests
