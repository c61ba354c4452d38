#include "payload/StartupValues.h"

namespace Velmora::Runtime {

bool IsFurtherWindowCommandLine(const std::vector<Text>& arguments, TextView appId) {
    return arguments.size() == 2 && arguments[0] == appId;
}

bool StartsWithAppId(const std::vector<Text>& arguments, TextView appId) {
    return !arguments.empty() && arguments[0] == appId;
}

} // namespace Velmora::Runtime
