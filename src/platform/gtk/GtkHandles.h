// GTK/GLib/POSIX: owning handles for GObject references, GError, g_free'd strings, string
// vectors, bytes, top-level widgets and file descriptors, so every exit path releases them.
#pragma once

#include "shared/UniqueHandle.h"

#include <gtk/gtk.h>

#include <unistd.h>

namespace Velmora::Platform {

template <typename T>
using GObjectPtr = Shared::TUniqueHandle<T*, g_object_unref>;
using GErrorPtr = Shared::TUniqueHandle<GError*, g_error_free>;
using GCharPtr = Shared::TUniqueHandle<gchar*, g_free>;
using GStrvPtr = Shared::TUniqueHandle<gchar**, g_strfreev>;
using GBytesPtr = Shared::TUniqueHandle<GBytes*, g_bytes_unref>;
// A top-level window (GtkWindow and subclasses) that we created: destroyed with us.
using TopLevelPtr = Shared::TUniqueHandle<GtkWidget*, gtk_widget_destroy>;
using FileDescriptor = Shared::TUniqueValue<int, ::close, -1>;

} // namespace Velmora::Platform
