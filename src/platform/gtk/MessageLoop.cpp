// GTK: initialises the toolkit once, before the first window, and runs the GTK main loop. The
// process's own arguments are not handed to GTK: they belong to the application (identifier,
// URL) and must not be parsed as toolkit options. Without a display GTK reports it and ends the
// process, as any GTK program. Work from other threads arrives through g_idle_add.
#include "platform/MessageLoop.h"

#include <gtk/gtk.h>

#include <memory>

namespace Velmora::Platform {

void InitializeUi() { gtk_init(nullptr, nullptr); }

void RunMessageLoop() { gtk_main(); }

void QuitMessageLoop() {
    if (gtk_main_level() > 0) gtk_main_quit();
}

void PostToUiThread(std::function<void()> Work) {
    auto* work = new std::function<void()>(std::move(Work));
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        work, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace Velmora::Platform
