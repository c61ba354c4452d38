// Test support for GTK windows: a display with a window manager for the whole test program
// (the one in $DISPLAY, else a private Xvfb; openbox when no window manager runs), waiting on
// the main loop, and input delivered as GDK events to our own windows.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

namespace Velmora::Testing {

// Iterates the main context until done() or the timeout; returns done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Lets pending events through for about ms milliseconds.
void Pump(int ms);

// A key press and release on a top-level window, routed by GTK as a keyboard would be.
void PressKey(GtkWidget* toplevel, guint keyval);
// One key press and release per character (ASCII).
void TypeText(GtkWidget* toplevel, const std::string& text);
// The window manager's close button: a delete event for the window.
void SendDelete(GtkWidget* toplevel);

// The visible top-level window with that title, or null.
GtkWidget* FindToplevel(const std::string& title);
// Every widget of type `type` below root, in tree order.
std::vector<GtkWidget*> FindDescendants(GtkWidget* root, GType type);

// Runs steps one after another on the main loop, 50 ms apart, once the window titled `title` is
// shown, while the caller blocks in a modal call (gtk_dialog_run and the like).
class ModalDriver {
public:
    ModalDriver(std::string title, std::vector<std::function<void(GtkWidget*)>> steps);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    // False when the window never appeared.
    bool SawWindow() const { return FSeen; }
    // True when the window was still open some seconds after the last step and had to be
    // closed by the driver.
    bool ForcedClose() const { return FForced; }
    size_t StepsRun() const { return FNext; }

private:
    static gboolean Tick(gpointer self);
    std::string FTitle;
    std::vector<std::function<void(GtkWidget*)>> FSteps;
    size_t FNext = 0;
    bool FSeen = false;
    bool FForced = false;
    gint64 FLastStep = 0;
    guint FSource = 0;
};

// Reads a 32-bit X property of a top-level window as a list of numbers (atoms as their ids).
std::vector<long> WindowProperty(GtkWidget* toplevel, const char* property, const char* type);
// Atom names in a list of atoms (_NET_WM_STATE, _NET_WM_ALLOWED_ACTIONS, _NET_WM_WINDOW_TYPE).
std::vector<std::string> WindowAtoms(GtkWidget* toplevel, const char* property);

} // namespace Velmora::Testing
