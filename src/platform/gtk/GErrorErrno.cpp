// Linux: the codes of GLib's error domains mapped to errno, D-Bus errors included (those GIO
// knows by code, and the refusals services name themselves).
#include "platform/gtk/GErrorErrno.h"

#include "platform/gtk/GtkHandles.h"

#include <gio/gio.h>

#include <cerrno>

namespace Velmora::Platform {

int ErrnoFromError(const GError* error) {
    if (error->domain == G_SPAWN_ERROR) {
        switch (error->code) {
            case G_SPAWN_ERROR_FORK: return EAGAIN;
            case G_SPAWN_ERROR_ACCES: return EACCES;
            case G_SPAWN_ERROR_PERM: return EPERM;
            case G_SPAWN_ERROR_TOO_BIG: return E2BIG;
            case G_SPAWN_ERROR_NOEXEC: return ENOEXEC;
            case G_SPAWN_ERROR_NAMETOOLONG: return ENAMETOOLONG;
            case G_SPAWN_ERROR_NOENT: return ENOENT;
            case G_SPAWN_ERROR_NOMEM: return ENOMEM;
            case G_SPAWN_ERROR_NOTDIR: return ENOTDIR;
            case G_SPAWN_ERROR_LOOP: return ELOOP;
            case G_SPAWN_ERROR_TXTBUSY: return ETXTBSY;
            case G_SPAWN_ERROR_NFILE: return ENFILE;
            case G_SPAWN_ERROR_MFILE: return EMFILE;
            case G_SPAWN_ERROR_INVAL: return EINVAL;
            case G_SPAWN_ERROR_ISDIR: return EISDIR;
            case G_SPAWN_ERROR_LIBBAD: return ELIBBAD;
            default: return EIO;
        }
    }
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
            case G_IO_ERROR_NOT_FOUND: return ENOENT;
            case G_IO_ERROR_PERMISSION_DENIED: return EACCES;
            case G_IO_ERROR_IS_DIRECTORY: return EISDIR;
            case G_IO_ERROR_INVALID_ARGUMENT: return EINVAL;
            case G_IO_ERROR_NOT_SUPPORTED: return EOPNOTSUPP;
            case G_IO_ERROR_TIMED_OUT: return ETIMEDOUT;
            case G_IO_ERROR_DBUS_ERROR: break; // a remote error GIO has no code for: below
            default: return EIO;
        }
    }
    if (error->domain == G_SHELL_ERROR) return EINVAL;
    if (error->domain == G_DBUS_ERROR) {
        switch (error->code) {
            case G_DBUS_ERROR_ACCESS_DENIED:
            case G_DBUS_ERROR_AUTH_FAILED: return EACCES;
            case G_DBUS_ERROR_SERVICE_UNKNOWN:
            case G_DBUS_ERROR_NAME_HAS_NO_OWNER:
            case G_DBUS_ERROR_UNKNOWN_METHOD:
            case G_DBUS_ERROR_UNKNOWN_OBJECT:
            case G_DBUS_ERROR_UNKNOWN_INTERFACE: return EOPNOTSUPP;
            case G_DBUS_ERROR_NO_REPLY:
            case G_DBUS_ERROR_TIMEOUT:
            case G_DBUS_ERROR_TIMED_OUT: return ETIMEDOUT;
            case G_DBUS_ERROR_NO_MEMORY: return ENOMEM;
            case G_DBUS_ERROR_INVALID_ARGS: return EINVAL;
            case G_DBUS_ERROR_NOT_SUPPORTED: return EOPNOTSUPP;
            default: break;
        }
    }
    if (g_dbus_error_is_remote_error(error)) {
        // Services refuse with names of their own: polkit's and logind's refusals are permissions.
        GCharPtr name{g_dbus_error_get_remote_error(error)};
        if (name && (g_str_has_suffix(name.get(), ".NotAuthorized") ||
                     g_str_has_suffix(name.get(), ".InteractiveAuthorizationRequired") ||
                     g_str_has_suffix(name.get(), ".AccessDenied")))
            return EACCES;
        if (name && g_str_has_suffix(name.get(), ".BlockedByInhibitorLock")) return EBUSY;
    }
    return EIO;
}

} // namespace Velmora::Platform
