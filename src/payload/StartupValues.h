// The process-wide values start-up leaves for the rest of the run: the payload reader, the
// settings and the identifiers taken from them, the prepared folders and the command line; and
// the command-line rules that tell a further window.
#pragma once

#include "payload/ExeUtils.h"
#include "payload/PayloadReader.h"
#include "payload/ProjectSettings.h"
#include "shared/Text.h"

#include <vector>

namespace Velmora::Runtime {

using Shared::Text;
using Shared::TextView;

// What start-up leaves for the rest of the run.
struct TStartupValues {
    Shared::TExeUtils ExeUtils;
    Shared::TPayloadReader ExeZip;
    Shared::TProjectSettings ProjectINI;
    Text AppID;                  // ID
    Text AppName;                // Name
    Text AppDirName;             // DirName
    Text IndexHtml;              // IndexHtml, default "index.html"
    Text UserDataDir;            // local app-data folder + ID + separator
    Text WebView2DataDir;        // UserDataDir + "Win32" + separator
    std::vector<Text> Arguments; // command line without the program name
};

// An ID start-up can use: it names the user data folder that provisioning deletes with all it
// holds and the single-instance lock, so it must name one folder of its own on every platform:
// not empty after trimming, not "." or "..", no path separator, no character a file system
// refuses (control characters and <>:"/\|?*), and no trailing dot or blank (Windows drops them,
// which would make "..." mean "..").
bool IsUsableAppId(TextView appId);

// A further window of a running application: exactly two arguments, the first the identifier.
bool IsFurtherWindowCommandLine(const std::vector<Text>& arguments, TextView appId);
// The first argument is the identifier: no password prompt.
bool StartsWithAppId(const std::vector<Text>& arguments, TextView appId);

} // namespace Velmora::Runtime
