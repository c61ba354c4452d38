#include "browser/EdgeEx.h"

namespace Velmora::Shared {

Text WebView2LoaderPath;

} // namespace Velmora::Shared
