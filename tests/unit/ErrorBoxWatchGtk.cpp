// GTK: without a display the box is written to standard error instead of shown, so the child
// drops its display variables.
#include "unit/ErrorBoxWatch.h"

#include <cstdlib>

namespace Velmora::Test {

void WatchErrorBoxes() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

bool ErrorBoxTextObservable() {
    return true;
}

} // namespace Velmora::Test
