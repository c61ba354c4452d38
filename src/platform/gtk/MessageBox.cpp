// GTK: the plain message boxes, both GtkMessageDialogs: the bridge's OK box (no icon) transient
// for the application's active window, and the system error box, which without a display is
// written to standard error instead, so a command-line caller still sees it.
#include "platform/MessageBox.h"

#include <gtk/gtk.h>

#include <cstdio>

namespace Velmora::Platform {

namespace {

GtkWindow* ActiveWindow() {
    GList* windows = gtk_window_list_toplevels(); // the list is ours, its windows are not
    GtkWindow* active = nullptr;
    for (GList* item = windows; item != nullptr && active == nullptr; item = item->next)
        if (gtk_window_is_active(GTK_WINDOW(item->data))) active = GTK_WINDOW(item->data);
    g_list_free(windows);
    return active;
}

void RunDialog(GtkWindow* owner, GtkMessageType type, const std::string& text, const std::string& title) {
    GtkWidget* dialog = gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, type, GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

} // namespace

void ShowMessage(Shared::TextView Msg, Shared::TextView Title) {
    RunDialog(ActiveWindow(), GTK_MESSAGE_OTHER, Shared::ToUtf8(Msg), Shared::ToUtf8(Title));
}

void ShowSystemErrorBox(Shared::TextView Text, Shared::TextView Caption) {
    const std::string text = Shared::ToUtf8(Text), caption = Shared::ToUtf8(Caption);
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return;
    }
    RunDialog(nullptr, GTK_MESSAGE_ERROR, text, caption);
    while (gtk_events_pending()) gtk_main_iteration();
}

} // namespace Velmora::Platform
