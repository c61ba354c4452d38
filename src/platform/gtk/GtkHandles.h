// GTK/GLib/POSIX: owning handles for GObject references, GError, g_free'd strings, string
// vectors, top-level widgets and file descriptors, so every exit path releases them.
#pragma once

#include <gtk/gtk.h>

#include <unistd.h>

#include <memory>
#include <utility>

namespace Velmora::Platform {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;

struct GStrvFree {
    void operator()(gchar** strings) const { g_strfreev(strings); }
};
using GStrvPtr = std::unique_ptr<gchar*, GStrvFree>;

struct GBytesUnref {
    void operator()(GBytes* bytes) const { g_bytes_unref(bytes); }
};
using GBytesPtr = std::unique_ptr<GBytes, GBytesUnref>;

// A top-level window (GtkWindow and subclasses) that we created: destroyed with us.
struct WidgetDestroy {
    void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};
using TopLevelPtr = std::unique_ptr<GtkWidget, WidgetDestroy>;

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) reset(std::exchange(other.FFd, -1));
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return FFd; }
    bool valid() const { return FFd >= 0; }
    void reset(int fd = -1) {
        if (FFd >= 0) ::close(FFd);
        FFd = fd;
    }

private:
    int FFd = -1;
};

} // namespace Velmora::Platform
