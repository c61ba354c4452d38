// GTK: WebKitGTK refuses to take over file://, so the app's pages live under the custom scheme
// qmt:/// and the rest of a URI names an absolute path below the root ("/" + rest).
#include "platform/AppScheme.h"

namespace Velmora::Platform {

const TAppScheme& AppScheme() {
    static constexpr TAppScheme Scheme{u"qmt", u"qmt:///", u"/", u'/'};
    return Scheme;
}

} // namespace Velmora::Platform
