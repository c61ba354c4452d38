// The file and folder dialogs of the bridge: dialogs.openFile, dialogs.saveFile, dialogs.selFolder.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TDialogsOperations {
public:
};

} // namespace Velmora::Shared
