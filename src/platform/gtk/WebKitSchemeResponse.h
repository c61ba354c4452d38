// WebKitGTK: finishing a request of the app scheme with the portable answer, as an HTTP server
// would, since the engine's scripts and media treat the scheme like one: the content type with a
// character set for text types only, the length, 206 with the part a Range header asks for (416
// when it lies beyond the end), the bytes handed to the engine without a copy. No answer is
// 404 "Not Found" with an empty body, so fetch gets a response whose ok is false.
#pragma once

#include "platform/BrowserControl.h"

#include <webkit2/webkit2.h>

#include <optional>

namespace Velmora::Platform {

void FinishSchemeRequest(WebKitURISchemeRequest* Request, std::optional<TWebResourceResponse> Answer);

} // namespace Velmora::Platform
