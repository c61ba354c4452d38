// Start-up up to and including the password prompt: payload, settings, theme, user data folder,
// loader library, environment, browser runtime check (provisioning when missing), password.
#pragma once

#include "shared/Text.h"
#include "startup/ExeUtils.h"
#include "startup/PayloadReader.h"
#include "startup/ProjectSettings.h"

#include <vector>

namespace Velmora::Runtime {

using Shared::Text;
using Shared::TextView;

// What start-up leaves for the rest of the run.
struct TStartupValues {
    Shared::TExeUtils ExeUtils;
    Shared::TPayloadReader ExeZip;
    Shared::TProjectSettings ProjectINI;
    Text AppID;         // ID
    Text AppName;       // Name
    Text AppDirName;    // DirName
    Text IndexHtml;     // IndexHtml, default "index.html"
    Text UserDataDir;   // local app-data folder + ID + separator
    Text WebView2DataDir; // UserDataDir + "Win32" + separator
    std::vector<Text> Arguments; // command line without the program name
};

// Runs start-up in its fixed order. False: the process must end now, with exit code 0 (a
// message, when one is due, has been shown). Errors it does not handle (a payload that is not
// an archive, a folder that cannot be created) are thrown.
bool LoadExeZip(TStartupValues& values);

// A further window of a running application: exactly two arguments, the first the identifier.
bool IsFurtherWindowCommandLine(const std::vector<Text>& arguments, TextView appId);
// The first argument is the identifier: no password prompt.
bool StartsWithAppId(const std::vector<Text>& arguments, TextView appId);

inline constexpr TextView DefaultWebviewArguments =
    u"--disable-logging --disable-web-security --disable-features=RendererCodeIntegrity "
    u"--enable-features=msSpeechRecognition --autoplay-policy=no-user-gesture-required";

} // namespace Velmora::Runtime
