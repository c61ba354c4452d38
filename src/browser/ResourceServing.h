// Answering the page's resource requests: every request under the app scheme is served from the
// payload archive, else from a file beside the executable, else from the absolute path the URI
// names. Nothing is cached; each answer is read anew.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <optional>

namespace Velmora::Shared {

class TPayloadReader;

// How the platform's browser addresses the app's files. Windows: "file:///", the rest of the
// URI is the absolute path as written. Linux (WebKitGTK cannot take over file://): "qmt:///",
// the absolute path is "/" followed by the rest.
struct TAppScheme {
    TextView Name;          // "file" or "qmt"
    TextView Prefix;        // Name + ":///"
    TextView AbsoluteRoot;  // put before the rest of a URI to give an absolute path
    char16_t PathDelimiter; // the file system's separator
};

// The running platform's scheme (src/platform/<name>/AppScheme.cpp).
const TAppScheme& PlatformAppScheme();

// The answer to one request, owned by the caller until the browser takes it.
struct TWebResourceResponse {
    Bytes Content;
    std::int32_t StatusCode = 200;
    Text ReasonPhrase = u"OK";
    Text MimeType;
    Text Headers; // "Content-Type: <MimeType>; charset=utf-8", the only header given
};

// The response for Uri, or none when the browser is to handle the request itself: requests are
// not handled, the URI is outside the scheme (its prefix compared without regard to ASCII
// case), or no source has the file. AppDirName is the app's folder inside the payload, and
// AppDirPath the executable's folder with a trailing separator.
std::optional<TWebResourceResponse> AnswerWebResourceRequest(TextView Uri, const TPayloadReader* ExeZip,
                                                             TextView AppDirName, TextView AppDirPath,
                                                             bool HandleRequests,
                                                             const TAppScheme& Scheme = PlatformAppScheme());

} // namespace Velmora::Shared
