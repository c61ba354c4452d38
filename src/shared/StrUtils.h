// String and script-text helpers: JSON string literals for the bridge, splitting, quoting,
// URL arguments and the other class-level operations shared by the runtime and the packer.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <vector>

namespace Velmora::Shared {

using TArrayStrings = std::vector<Text>;

class TStrUtils {
public:
    static Text StringToJsonString(TextView value);
    static TArrayStrings ExplodeStrings(TextView Separator, TextView Value);
    static Text GetFileMIMEType(TextView FileName);
};

} // namespace Velmora::Shared
