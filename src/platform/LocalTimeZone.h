// The C library's time zone while ZIP file times are converted. libzip turns an entry's DOS time
// into a time_t and back through the local zone (the check byte of an encrypted entry depends on
// it): in UTC that round trip is exact for every date, where a local zone's gaps would move it,
// and it reads no zone data for each entry. The caller switches back at once, so pages and the
// programs they start see the user's own zone.
#pragma once

#include <optional>
#include <string>

namespace Velmora::Platform {

// Puts the process's zone on UTC; returns what TZ held (none: it was unset).
std::optional<std::string> SwitchTimeZoneToUtc();
// Puts TZ back as it was and re-reads the zone.
void RestoreTimeZone(const std::optional<std::string>& Previous);

} // namespace Velmora::Platform
