// Win32: WebView2 lets the host answer file:/// requests, so the app's pages live there and the
// rest of a URI is the absolute path as written ("C:/temp/a.png").
#include "platform/AppScheme.h"

namespace Velmora::Platform {

const TAppScheme& AppScheme() {
    static constexpr TAppScheme Scheme{u"file", u"file:///", u"", u'\\'};
    return Scheme;
}

} // namespace Velmora::Platform
