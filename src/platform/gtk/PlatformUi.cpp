// GTK: initialises the toolkit once, before the first window. The process's own arguments are
// not handed to GTK: they belong to the application (identifier, URL) and must not be parsed
// as toolkit options. Without a display GTK reports it and ends the process, as any GTK program.
#include "startup/StartupUi.h"

#include <gtk/gtk.h>

namespace Velmora::Runtime {

void InitializePlatformUi() {
    gtk_init(nullptr, nullptr);
}

// There is no hidden owner window carrying a taskbar button on this platform.
void HideApplicationOwnerWindow() {}

} // namespace Velmora::Runtime
