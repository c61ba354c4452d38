// GLib's errors (spawning, GIO, D-Bus) as the errno codes whose strerror text the page is given.
#pragma once

#include <glib.h>

namespace Velmora::Platform {

int ErrnoFromError(const GError* error);

} // namespace Velmora::Platform
