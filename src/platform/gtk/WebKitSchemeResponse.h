// WebKitGTK: finishing a request of the app scheme with the portable answer: status, reason and
// the answer's headers as given, its bytes handed to the engine without a copy. No answer
// finishes the request with an error, so the engine shows its own error page.
#pragma once

#include "platform/BrowserControl.h"

#include <webkit2/webkit2.h>

#include <optional>

namespace Velmora::Platform {

void FinishSchemeRequest(WebKitURISchemeRequest* Request, std::optional<TWebResourceResponse> Answer);

} // namespace Velmora::Platform
