// Linux: the captions of the X server's top-level windows (Xlib on a connection of our own): the
// root's children in stacking order, topmost first, each named by the client window inside it
// when it is a window manager's frame (the window with WM_STATE, as xprop finds it), by
// _NET_WM_NAME, else WM_NAME. Windows that vanish while we look are skipped.
#include "platform/WindowCaptions.h"

#include "platform/gtk/GtkHandles.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtk/gtk.h>

#include <string>

namespace Velmora::Platform {

using namespace Shared;

namespace {

using DisplayPtr = TUniqueHandle<Display*, XCloseDisplay>;
template <typename T>
using XMemory = TUniqueHandle<T*, XFree>;

// Errors of a window that vanished between two requests are ours to ignore, not to exit on
// (Xlib's default handler ends the process). Installed only while we look.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

class ScopedErrorHandler {
public:
    ScopedErrorHandler() : FPrevious(XSetErrorHandler(IgnoreError)) {}
    ~ScopedErrorHandler() { XSetErrorHandler(FPrevious); }
    ScopedErrorHandler(const ScopedErrorHandler&) = delete;
    ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;

private:
    int (*FPrevious)(Display*, XErrorEvent*);
};

struct Atoms {
    Atom WmState, NetWmName, Utf8String;
};

bool HasProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType, &type, &format,
                                          &count, &after, &data);
    XMemory<unsigned char> owned(data);
    return status == Success && type != None;
}

std::vector<Window> Children(Display* display, Window window) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return {};
    XMemory<Window> owned(children);
    return std::vector<Window>(children, children + count);
}

// The client window at or below Window (depth first), or none.
Window ClientWindow(Display* display, Window window, const Atoms& atoms, int depth) {
    if (HasProperty(display, window, atoms.WmState)) return window;
    if (depth == 0) return None;
    for (Window child : Children(display, window))
        if (Window client = ClientWindow(display, child, atoms, depth - 1); client != None) return client;
    return None;
}

std::string WindowName(Display* display, Window window, const Atoms& atoms) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, atoms.NetWmName, 0, 1 << 16, False, atoms.Utf8String, &type, &format,
                           &count, &after, &data) == Success) {
        XMemory<unsigned char> owned(data);
        if (type == atoms.Utf8String && format == 8 && data) return std::string(reinterpret_cast<char*>(data), count);
    }
    XTextProperty property = {};
    if (!XGetWMName(display, window, &property)) return {};
    XMemory<unsigned char> value(property.value);
    if (!property.value || property.nitems == 0) return {};
    char** list = nullptr;
    int items = 0;
    if (Xutf8TextPropertyToTextList(display, &property, &list, &items) >= Success && list) {
        std::string name = items > 0 && list[0] ? list[0] : "";
        XFreeStringList(list);
        return name;
    }
    // An encoding Xlib cannot convert: the bytes as Latin-1, which STRING is.
    std::string name;
    for (unsigned long i = 0; i < property.nitems; ++i) {
        const unsigned char byte = property.value[i];
        if (byte < 0x80) name += static_cast<char>(byte);
        else name += {static_cast<char>(0xC0 | byte >> 6), static_cast<char>(0x80 | (byte & 0x3F))};
    }
    return name;
}

} // namespace

std::vector<Text> TopLevelWindowCaptions() {
    // Our own windows' latest names must be on the server before another connection asks.
    if (GdkDisplay* ours = gdk_display_get_default()) gdk_display_flush(ours);
    const DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return {};
    const ScopedErrorHandler ignoreVanished;
    const Atoms atoms{XInternAtom(display.get(), "WM_STATE", False), XInternAtom(display.get(), "_NET_WM_NAME", False),
                      XInternAtom(display.get(), "UTF8_STRING", False)};

    std::vector<Text> captions;
    const std::vector<Window> stacking = Children(display.get(), DefaultRootWindow(display.get()));
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        Window named = ClientWindow(display.get(), *it, atoms, 3);
        if (named == None) named = *it;
        captions.push_back(FromUtf8(WindowName(display.get(), named, atoms)));
    }
    return captions;
}

} // namespace Velmora::Platform
