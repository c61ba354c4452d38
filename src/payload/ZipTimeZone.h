// The scope of a libzip call that converts file times: the process's zone is UTC inside it and
// the user's own again after it (platform/LocalTimeZone.h says why).
#pragma once

#include "platform/LocalTimeZone.h"

namespace Velmora::Shared {

class TZipTimeZone {
public:
    TZipTimeZone() : FPrevious(Platform::SwitchTimeZoneToUtc()) {}
    ~TZipTimeZone() { Platform::RestoreTimeZone(FPrevious); }
    TZipTimeZone(const TZipTimeZone&) = delete;
    TZipTimeZone& operator=(const TZipTimeZone&) = delete;

private:
    std::optional<std::string> FPrevious;
};

} // namespace Velmora::Shared
