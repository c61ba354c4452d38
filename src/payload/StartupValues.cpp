#include "payload/StartupValues.h"

#include "shared/StringHelpers.h"

namespace Velmora::Runtime {

bool IsUsableAppId(TextView appId) {
    const TextView trimmed = Shared::TrimBlanks(appId);
    if (trimmed.empty() || trimmed == u"." || trimmed == u"..") return false;
    if (appId.back() == u'.' || appId.back() == u' ') return false;
    for (const char16_t c : appId)
        if (c < 0x20 || TextView(u"<>:\"/\\|?*").find(c) != TextView::npos) return false;
    return true;
}

bool IsFurtherWindowCommandLine(const std::vector<Text>& arguments, TextView appId) {
    return arguments.size() == 2 && arguments[0] == appId;
}

bool StartsWithAppId(const std::vector<Text>& arguments, TextView appId) {
    return !arguments.empty() && arguments[0] == appId;
}

} // namespace Velmora::Runtime
