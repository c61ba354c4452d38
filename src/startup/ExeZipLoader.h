// Start-up up to and including the password prompt: payload, settings, theme, user data folder,
// loader library, environment, browser runtime check (provisioning when missing), password.
#pragma once

#include "payload/StartupValues.h"
#include "shared/Text.h"

namespace Velmora::Runtime {

using Shared::Text;
using Shared::TextView;

// Runs start-up in its fixed order. False: the process must end now, with exit code 0 (a
// message, when one is due, has been shown). Errors it does not handle (a payload that is not
// an archive, a folder that cannot be created) are thrown.
bool LoadExeZip(TStartupValues& values);

inline constexpr TextView DefaultWebviewArguments =
    u"--disable-logging --disable-web-security --disable-features=RendererCodeIntegrity "
    u"--enable-features=msSpeechRecognition --autoplay-policy=no-user-gesture-required";

} // namespace Velmora::Runtime
