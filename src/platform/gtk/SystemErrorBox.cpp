// GTK: the plain error message box (GtkMessageDialog). Without a display the text is written
// to standard error instead, so a command-line caller still sees it.
#include "shared/SysUtils.h"

#include <gtk/gtk.h>

#include <cstdio>

namespace Velmora::Shared {

void TSysUtils::ShowSystemErrorBox(TextView text, TextView caption) {
    const std::string t = ToUtf8(text), c = ToUtf8(caption);
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
        return;
    }
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_OK, "%s", t.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), c.c_str());
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    while (gtk_events_pending()) gtk_main_iteration();
}

} // namespace Velmora::Shared
