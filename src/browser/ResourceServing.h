// Answering the page's resource requests: every request under the app scheme is served from the
// payload archive, else from a file beside the executable, else from the absolute path the URI
// names. A path that none of them has is looked for once more with every percent-escape decoded
// as UTF-8, since browsers send non-ASCII names that way. Nothing is cached; each answer is read
// anew.
#pragma once

#include "platform/AppScheme.h"
#include "platform/BrowserControl.h"
#include "shared/Text.h"

#include <optional>

namespace Velmora::Shared {

class TPayloadReader;

// Where a request of the app scheme is looked for, in this order, and the type it is answered with.
// Lookups of the decoded path fill the same fields.
struct TResourceSources {
    Text PayloadEntry;     // the app's folder, "/" and the path; empty without an app folder
    Text BesideExecutable; // the executable's folder and the path, separators the platform's
    Text AbsolutePath;     // the scheme's absolute root and the rest of the URI
    Text MimeType;
};

// The sources of Uri: the scheme's prefix removed wherever it occurs (exactly as written), the
// query cut off, "%20" turned into a blank and no other escape decoded. None outside the scheme
// (its prefix compared without regard to ASCII case).
std::optional<TResourceSources> DeriveResourceSources(TextView Uri, TextView AppDirName, TextView AppDirPath,
                                                      const Platform::TAppScheme& Scheme = Platform::AppScheme());

// The sources tried when those above have nothing: the path up to the query with every
// percent-escape decoded (the absolute path too, from the decoded path). None outside the
// scheme, or when decoding changes nothing or gives no usable name (DecodePercentEscapes).
std::optional<TResourceSources>
DeriveDecodedResourceSources(TextView Uri, TextView AppDirName, TextView AppDirPath,
                             const Platform::TAppScheme& Scheme = Platform::AppScheme());

// Path with every "%" and two hex digits turned into that byte, the bytes read as UTF-8; a "%"
// without two hex digits stays as written. None when nothing was decoded, or when the bytes are
// not valid UTF-8 or hold a NUL (which would cut a file name short).
std::optional<Text> DecodePercentEscapes(TextView Path);

// The response for Uri, or none when the browser is to handle the request itself: requests are
// not handled, the URI is outside the scheme (its prefix compared without regard to ASCII
// case), or no source has the file. AppDirName is the app's folder inside the payload, and
// AppDirPath the executable's folder with a trailing separator.
std::optional<Platform::TWebResourceResponse>
AnswerWebResourceRequest(TextView Uri, const TPayloadReader* ExeZip, TextView AppDirName, TextView AppDirPath,
                         bool HandleRequests, const Platform::TAppScheme& Scheme = Platform::AppScheme());

} // namespace Velmora::Shared
