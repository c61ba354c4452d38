// The file, folder and Base64 operations of the bridge: files.*, folders.*, base64.decodeToFile.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TFilesOperations {
public:
};

} // namespace Velmora::Shared
