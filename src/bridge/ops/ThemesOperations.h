// The themes of the bridge: themes.getTheme, themes.getThemes, themes.setTheme.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TThemesOperations {
public:
};

} // namespace Velmora::Shared
