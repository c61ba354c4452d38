// The fixed message table of start-up and provisioning in six languages, picked by the user's
// locale. The message box itself belongs to the start-up user interface.
#pragma once

#include "shared/Text.h"

namespace Velmora::Runtime {

using Shared::Text;

// Indices of the table.
enum TMessageIndex : int {
    MsgLanguageCode = 0,
    MsgErrorTitle = 1,
    MsgConfirmTitle = 2,
    MsgAccept = 3,
    MsgCancel = 4,
    MsgNotValidApplication = 5,
    MsgRuntimeRequired = 6,
    MsgRuntimeInstallOffer = 7,
    MsgInstallDeclined = 8,
    MsgInstallFailed = 9,
};

// ISO 639 language name of the user's default locale ("en", "de", "zh"); empty when the system
// cannot tell. Asked of the system on every call.
Text GetUserLanguageCode();

// Message Index (0 to 9) in the user's language; throws std::out_of_range with the message
// "MessageIndex is out of range!" for any other index.
Text GetLocalizedMessage(int Index);
// The same for a given language code (what GetLocalizedMessage asks with).
Text GetLocalizedMessageFor(int Index, Shared::TextView LanguageCode);

} // namespace Velmora::Runtime
