// Win32: WebView2 lets the host answer file:/// requests, so the app's pages live there and the
// rest of a URI is the absolute path as written ("C:/temp/a.png").
#include "browser/ResourceServing.h"

namespace Velmora::Shared {

const TAppScheme& PlatformAppScheme() {
    static constexpr TAppScheme Scheme{u"file", u"file:///", u"", u'\\'};
    return Scheme;
}

} // namespace Velmora::Shared
