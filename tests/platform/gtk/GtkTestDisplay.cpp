// Test support for GTK windows (see GtkTestDisplay.h).
#include "GtkTestDisplay.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

// Last: X11 defines macros (None, Bool) that other headers use as names.
#include <gdk/gdkx.h>

namespace Velmora::Testing {

namespace {

// A window manager names its check window on the root window; one that has ended may leave the
// name behind, so the window itself must still exist.
bool WindowManagerRunning() {
    GdkAtom type = GDK_NONE;
    gint format = 0, length = 0;
    guchar* data = nullptr;
    GdkDisplay* display = gdk_display_get_default();
    const bool named =
        gdk_property_get(gdk_get_default_root_window(), gdk_atom_intern_static_string("_NET_SUPPORTING_WM_CHECK"),
                         gdk_atom_intern_static_string("WINDOW"), 0, 1, FALSE, &type, &format, &length, &data) &&
        length >= static_cast<gint>(sizeof(long)) && format == 32;
    const Window check = named ? static_cast<Window>(*reinterpret_cast<const long*>(data)) : 0;
    g_free(data);
    if (check == 0) return false;
    // Null when no such window exists.
    GdkWindow* window = gdk_x11_window_foreign_new_for_display(display, check);
    if (window == nullptr) return false;
    g_object_unref(window);
    return true;
}

// The display and window manager of the test program; what it started it also stops.
class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) StartXvfb();
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "cannot open the display";
        if (WindowManagerRunning()) return;
        gdk_property_delete(gdk_get_default_root_window(), gdk_atom_intern_static_string("_NET_SUPPORTING_WM_CHECK"));
        const char* argv[] = {"openbox", "--sm-disable", nullptr};
        ASSERT_TRUE(g_spawn_async(nullptr, const_cast<gchar**>(argv), nullptr,
                                  GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                              G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                                  nullptr, nullptr, &FWindowManager, nullptr))
            << "openbox could not be started";
        ASSERT_TRUE(WaitUntil(WindowManagerRunning, 10000)) << "no window manager came up";
    }

    void TearDown() override {
        Stop(FWindowManager);
        Stop(FXvfb);
    }

private:
    void StartXvfb() {
        const char* argv[] = {"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr};
        gint out = -1;
        ASSERT_TRUE(g_spawn_async_with_pipes(
            nullptr, const_cast<gchar**>(argv), nullptr,
            GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
            &FXvfb, nullptr, &out, nullptr, nullptr))
            << "Xvfb could not be started";
        std::string number;
        char c;
        while (::read(out, &c, 1) == 1 && c != '\n') number += c;
        ::close(out);
        ASSERT_FALSE(number.empty()) << "Xvfb told no display number";
        setenv("DISPLAY", (":" + number).c_str(), 1);
    }

    static void Stop(GPid& pid) {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        pid = 0;
    }

    GPid FWindowManager = 0;
    GPid FXvfb = 0;
};

[[maybe_unused]] ::testing::Environment* const TheDisplay = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

GdkEvent* NewKeyEvent(GtkWidget* toplevel, guint keyval, GdkEventType type) {
    GdkWindow* window = gtk_widget_get_window(toplevel);
    GdkDisplay* display = gdk_window_get_display(window);
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.time = GDK_CURRENT_TIME;
    event->key.keyval = keyval;
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count) && count > 0) {
        event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        event->key.group = static_cast<guint8>(keys[0].group);
        if (keys[0].level == 1) event->key.state = GDK_SHIFT_MASK;
    }
    g_free(keys);
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
    return event;
}

void Dispatch(GdkEvent* event) {
    gtk_main_do_event(event);
    gdk_event_free(event);
}

void Collect(GtkWidget* widget, GType type, std::vector<GtkWidget*>& out) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) out.push_back(widget);
    if (!GTK_IS_CONTAINER(widget)) return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* child = children; child; child = child->next) Collect(GTK_WIDGET(child->data), type, out);
    g_list_free(children);
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > deadline) return done();
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(5000);
    }
    return true;
}

void Pump(int ms) {
    WaitUntil([] { return false; }, ms);
}

void PressKey(GtkWidget* toplevel, guint keyval) {
    Dispatch(NewKeyEvent(toplevel, keyval, GDK_KEY_PRESS));
    Dispatch(NewKeyEvent(toplevel, keyval, GDK_KEY_RELEASE));
}

void TypeText(GtkWidget* toplevel, const std::string& text) {
    for (char c : text) PressKey(toplevel, gdk_unicode_to_keyval(static_cast<unsigned char>(c)));
}

void SendDelete(GtkWidget* toplevel) {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(toplevel)));
    event->any.send_event = TRUE;
    Dispatch(event);
}

GtkWidget* FindToplevel(const std::string& title) {
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w && !found; w = w->next) {
        GtkWidget* widget = GTK_WIDGET(w->data);
        const char* t = gtk_window_get_title(GTK_WINDOW(widget));
        if (gtk_widget_get_mapped(widget) && t && title == t) found = widget;
    }
    g_list_free(windows);
    return found;
}

std::vector<GtkWidget*> FindDescendants(GtkWidget* root, GType type) {
    std::vector<GtkWidget*> out;
    Collect(root, type, out);
    return out;
}

ModalDriver::ModalDriver(std::string title, std::vector<std::function<void(GtkWidget*)>> steps)
    : FTitle(std::move(title)), FSteps(std::move(steps)) {
    FSource = g_timeout_add(50, Tick, this);
}

ModalDriver::~ModalDriver() {
    if (FSource) g_source_remove(FSource);
}

gboolean ModalDriver::Tick(gpointer self) {
    auto* driver = static_cast<ModalDriver*>(self);
    GtkWidget* window = FindToplevel(driver->FTitle);
    if (driver->FNext == driver->FSteps.size()) {
        // Every step ran: a window still open after a while would hang the modal call.
        if (window && g_get_monotonic_time() - driver->FLastStep > 3 * G_USEC_PER_SEC) {
            driver->FForced = true;
            SendDelete(window);
        }
        if (window && !driver->FForced) return G_SOURCE_CONTINUE;
        driver->FSource = 0;
        return G_SOURCE_REMOVE;
    }
    if (!window) return G_SOURCE_CONTINUE;
    driver->FSeen = true;
    driver->FSteps[driver->FNext++](window);
    driver->FLastStep = g_get_monotonic_time();
    return G_SOURCE_CONTINUE;
}

std::vector<long> WindowProperty(GtkWidget* toplevel, const char* property, const char* type) {
    GdkAtom actual = GDK_NONE;
    gint format = 0, length = 0;
    guchar* data = nullptr;
    std::vector<long> values;
    if (gdk_property_get(gtk_widget_get_window(toplevel), gdk_atom_intern(property, FALSE),
                         gdk_atom_intern(type, FALSE), 0, 1024, FALSE, &actual, &format, &length, &data) &&
        format == 32) {
        const long* items = reinterpret_cast<const long*>(data);
        values.assign(items, items + length / sizeof(long));
    }
    g_free(data);
    return values;
}

std::vector<std::string> WindowAtoms(GtkWidget* toplevel, const char* property) {
    GdkAtom actual = GDK_NONE;
    gint format = 0, length = 0;
    guchar* data = nullptr;
    std::vector<std::string> names;
    if (gdk_property_get(gtk_widget_get_window(toplevel), gdk_atom_intern(property, FALSE),
                         gdk_atom_intern_static_string("ATOM"), 0, 1024, FALSE, &actual, &format, &length, &data)) {
        // GDK hands atom lists over as GdkAtoms.
        const GdkAtom* atoms = reinterpret_cast<const GdkAtom*>(data);
        for (size_t i = 0; i < length / sizeof(GdkAtom); ++i) {
            gchar* name = gdk_atom_name(atoms[i]);
            names.emplace_back(name);
            g_free(name);
        }
    }
    g_free(data);
    return names;
}

} // namespace Velmora::Testing
