// GTK: the password prompt, a fixed-size modal GtkDialog holding one masked GtkEntry with the
// key image as its primary icon. No buttons: the text is compared at every key release, the
// close box refuses, Enter and Escape do nothing.
#include "platform/gtk/GtkHandles.h"
#include "platform/Resources.h"
#include "platform/StartupDialogs.h"

namespace Velmora::Platform {

namespace {

// Client area and edit box of the prompt, in pixels.
constexpr int ClientWidth = 308, ClientHeight = 71;
constexpr int EditLeft = 24, EditTop = 24, EditWidth = 257;

struct PromptState {
    GtkDialog* Dialog;
    Text Password;
};

gboolean PasswordEditKeyUp(GtkWidget* entry, GdkEventKey*, gpointer data) {
    const auto* state = static_cast<const PromptState*>(data);
    if (Shared::FromUtf8(gtk_entry_get_text(GTK_ENTRY(entry))) == state->Password)
        gtk_dialog_response(state->Dialog, mrOk);
    return FALSE;
}

// GtkDialog closes on Escape (its "close" key binding); the prompt has nothing Escape answers.
gboolean SwallowEscape(GtkWidget*, GdkEventKey* event, gpointer) {
    return event->keyval == GDK_KEY_Escape ? TRUE : FALSE;
}

// The key image at the size that suits the screen's scaling; GTK scales the icon to the
// entry's icon size, so the 32-pixel image gives sharp pixels at scale 2 and above.
void SetKeyIcon(GtkEntry* entry, int scale) {
    const auto data = FindResourceData(scale >= 2 ? "KEY32" : "KEY16");
    if (data.empty()) return;
    Platform::GBytesPtr bytes(g_bytes_new_static(data.data(), data.size()));
    GObjectPtr<GIcon> icon(g_bytes_icon_new(bytes.get()));
    gtk_entry_set_icon_from_gicon(entry, GTK_ENTRY_ICON_PRIMARY, icon.get());
    gtk_entry_set_icon_activatable(entry, GTK_ENTRY_ICON_PRIMARY, FALSE);
}

} // namespace

int ShowRequirePasswordForm(TextView Caption, TextView Password) {
    Platform::TopLevelPtr widget(gtk_dialog_new());
    PromptState state{GTK_DIALOG(widget.get()), Text(Password)};
    GtkWindow* window = GTK_WINDOW(widget.get());
    gtk_window_set_title(window, Shared::ToUtf8(Caption).c_str());
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);

    GtkWidget* content = gtk_dialog_get_content_area(state.Dialog);
    gtk_container_set_border_width(GTK_CONTAINER(content), 0);
    gtk_widget_set_size_request(content, ClientWidth, ClientHeight);

    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
    gtk_entry_set_invisible_char(GTK_ENTRY(entry), '*');
    gtk_entry_set_activates_default(GTK_ENTRY(entry), FALSE);
    gtk_widget_set_size_request(entry, EditWidth, -1);
    gtk_widget_set_halign(entry, GTK_ALIGN_START);
    gtk_widget_set_valign(entry, GTK_ALIGN_START);
    gtk_widget_set_margin_start(entry, EditLeft);
    gtk_widget_set_margin_top(entry, EditTop);
    gtk_box_pack_start(GTK_BOX(content), entry, TRUE, TRUE, 0);

    gtk_widget_realize(widget.get());
    SetKeyIcon(GTK_ENTRY(entry), gtk_widget_get_scale_factor(widget.get()));

    g_signal_connect(entry, "key-release-event", G_CALLBACK(PasswordEditKeyUp), &state);
    g_signal_connect(widget.get(), "key-press-event", G_CALLBACK(SwallowEscape), nullptr);

    gtk_widget_show_all(widget.get());
    gtk_widget_grab_focus(entry);
    // The close box (and Alt+F4) arrives as GTK_RESPONSE_DELETE_EVENT.
    const int response = gtk_dialog_run(state.Dialog);
    widget.reset();
    while (gtk_events_pending()) gtk_main_iteration();
    return response == mrOk ? mrOk : mrCancel;
}

} // namespace Velmora::Platform
