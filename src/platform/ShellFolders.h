// The user's well-known folders, each with a trailing separator (the separator alone when the
// lookup fails). Linux: $XDG_DATA_HOME, $XDG_CONFIG_HOME, the XDG documents and desktop folders,
// $TMPDIR, each falling back below the home folder.
#pragma once

#include "shared/Text.h"

namespace Velmora::Platform {

Shared::Text LocalAppDataDirPath();
Shared::Text UserAppDataDirPath();
Shared::Text UserDocumentsDirPath();
Shared::Text UserDesktopDirPath();
Shared::Text TempDirPath();

} // namespace Velmora::Platform
