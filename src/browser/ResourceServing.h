// Answering the page's resource requests: every request under the app scheme is served from the
// payload archive, else from a file beside the executable, else from the absolute path the URI
// names. Nothing is cached; each answer is read anew.
#pragma once

#include "platform/AppScheme.h"
#include "platform/BrowserControl.h"
#include "shared/Text.h"

#include <optional>

namespace Velmora::Shared {

class TPayloadReader;

// The response for Uri, or none when the browser is to handle the request itself: requests are
// not handled, the URI is outside the scheme (its prefix compared without regard to ASCII
// case), or no source has the file. AppDirName is the app's folder inside the payload, and
// AppDirPath the executable's folder with a trailing separator.
std::optional<Platform::TWebResourceResponse>
AnswerWebResourceRequest(TextView Uri, const TPayloadReader* ExeZip, TextView AppDirName, TextView AppDirPath,
                         bool HandleRequests, const Platform::TAppScheme& Scheme = Platform::AppScheme());

} // namespace Velmora::Shared
