// Linux: ending the session through logind on the system bus (GDBus): the session is
// terminated (org.freedesktop.login1.Manager.TerminateSession of $XDG_SESSION_ID, else
// Session.Terminate of the session GetSessionByPID finds for us), or the machine reboots or
// powers off (Manager.Reboot / PowerOff, not interactive: nobody is asked). Like EWX_FORCE,
// logind ends the session's processes without asking them. A refusal is logind's D-Bus error,
// as errno.
#include "platform/SessionEnd.h"

#include "platform/gtk/GErrorErrno.h"
#include "platform/gtk/GtkHandles.h"

#include <gio/gio.h>

#include <cstdlib>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

namespace {

constexpr const char* Login1 = "org.freedesktop.login1";
constexpr const char* ManagerPath = "/org/freedesktop/login1";
constexpr const char* ManagerInterface = "org.freedesktop.login1.Manager";
constexpr int CallTimeoutMs = 25000;

using VariantPtr = TUniqueHandle<GVariant*, g_variant_unref>;

// The reply, or null with the error as errno in Code.
VariantPtr Call(GDBusConnection* bus, const char* path, const char* interface, const char* method, GVariant* parameters,
                const GVariantType* replyType, int& Code) {
    GError* error = nullptr;
    VariantPtr reply(g_dbus_connection_call_sync(bus, Login1, path, interface, method, parameters, replyType,
                                                 G_DBUS_CALL_FLAGS_NONE, CallTimeoutMs, nullptr, &error));
    if (!reply) Code = ErrnoFromError(GErrorPtr(error).get());
    return reply;
}

TSysStatus StatusOf(const VariantPtr& reply, int code) {
    return reply ? TSysStatus::Success() : TSysStatus::Failure(static_cast<std::uint32_t>(code));
}

TSysStatus TerminateOwnSession(GDBusConnection* bus) {
    int code = 0;
    if (const char* id = std::getenv("XDG_SESSION_ID"); id && *id) {
        const VariantPtr reply =
            Call(bus, ManagerPath, ManagerInterface, "TerminateSession", g_variant_new("(s)", id), nullptr, code);
        return StatusOf(reply, code);
    }
    const VariantPtr session = Call(bus, ManagerPath, ManagerInterface, "GetSessionByPID",
                                    g_variant_new("(u)", static_cast<guint32>(getpid())), G_VARIANT_TYPE("(o)"), code);
    if (!session) return StatusOf(session, code);
    const gchar* path = nullptr;
    g_variant_get(session.get(), "(&o)", &path);
    const VariantPtr reply = Call(bus, path, "org.freedesktop.login1.Session", "Terminate", nullptr, nullptr, code);
    return StatusOf(reply, code);
}

} // namespace

TSysStatus EndSession(TSessionEnd How) {
    GError* error = nullptr;
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &error));
    if (!bus) return TSysStatus::Failure(static_cast<std::uint32_t>(ErrnoFromError(GErrorPtr(error).get())));
    int code = 0;
    switch (How) {
        case TSessionEnd::LogOff: return TerminateOwnSession(bus.get());
        case TSessionEnd::Reboot: {
            const VariantPtr reply =
                Call(bus.get(), ManagerPath, ManagerInterface, "Reboot", g_variant_new("(b)", FALSE), nullptr, code);
            return StatusOf(reply, code);
        }
        case TSessionEnd::PowerOff: break;
    }
    const VariantPtr reply =
        Call(bus.get(), ManagerPath, ManagerInterface, "PowerOff", g_variant_new("(b)", FALSE), nullptr, code);
    return StatusOf(reply, code);
}

} // namespace Velmora::Platform
