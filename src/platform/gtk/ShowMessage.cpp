// GTK: the plain modal message box (GtkMessageDialog, OK button, no icon), transient for the
// application's active window when there is one.
#include "bridge/ShowMessage.h"

#include <gtk/gtk.h>

namespace Velmora::Shared {

namespace {

GtkWindow* ActiveWindow() {
    GList* windows = gtk_window_list_toplevels(); // the list is ours, its windows are not
    GtkWindow* active = nullptr;
    for (GList* item = windows; item != nullptr && active == nullptr; item = item->next)
        if (gtk_window_is_active(GTK_WINDOW(item->data))) active = GTK_WINDOW(item->data);
    g_list_free(windows);
    return active;
}

} // namespace

void ShowMessage(TextView Msg, TextView Title) {
    const std::string text = ToUtf8(Msg), title = ToUtf8(Title);
    GtkWidget* dialog = gtk_message_dialog_new(ActiveWindow(), GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                               GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

} // namespace Velmora::Shared
