// Which documents the bridge serves: the app's own pages (the app scheme) and the web origins the
// app names in BridgeOrigins. Messages from any other document run nothing, replies and events
// reach no other document, and other documents get no permissions.
#pragma once

#include "platform/AppScheme.h"
#include "shared/Text.h"

#include <vector>

namespace Velmora::Shared {

class TBridgeTrust {
public:
    // Origins: the settings' BridgeOrigins text, origins separated by blanks.
    explicit TBridgeTrust(TextView Origins = {}, const Platform::TAppScheme& Scheme = Platform::AppScheme());

    // True for an app page (a URI of the app scheme, its name in any letter case) and for a
    // document of a listed origin.
    bool Trusts(TextView DocumentUri) const;

private:
    Text FAppPages; // the scheme's name and ":", lower case
    std::vector<Text> FOrigins;
};

// The origin of a hierarchical URI, "scheme://host[:port]": scheme and host in lower case, user
// information dropped, the scheme's default port (http 80, https 443) left out. Empty for a URI
// without an authority (about:, data:, blob:, file:) or one that does not parse.
Text UriOrigin(TextView Uri);

} // namespace Velmora::Shared
