// GTK: the localized message box, a modal GtkDialog with our own PNG icon beside the text and
// the re-captioned buttons; Escape and the close box end it like Cancel. (The password prompt and
// the installer window have files of their own; there is no hidden owner window to hide here.)
#include "platform/gtk/GtkHandles.h"
#include "platform/Resources.h"
#include "platform/StartupDialogs.h"

#include <string_view>

namespace Velmora::Platform {

namespace {

const char* IconResourceName(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtError: return "MSG_ERROR";
        case TMsgDlgType::mtWarning: return "MSG_WARNING";
        default: return "MSG_INFO";
    }
}

GObjectPtr<GdkPixbuf> LoadPngResource(std::string_view name) {
    const auto data = FindResourceData(name);
    if (data.empty()) return nullptr;
    GObjectPtr<GdkPixbufLoader> loader(gdk_pixbuf_loader_new_with_type("png", nullptr));
    if (!loader) return nullptr;
    const bool written = gdk_pixbuf_loader_write(loader.get(), data.data(), data.size(), nullptr);
    const bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);
    if (!written || !closed) return nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    return GObjectPtr<GdkPixbuf>(pixbuf ? GDK_PIXBUF(g_object_ref(pixbuf)) : nullptr);
}

struct StandardButton {
    TMsgDlgBtn Button;
    int Response;
    const char* Caption; // with a mnemonic; captions of ours are shown literally
};

// The standard order of the buttons.
constexpr StandardButton StandardButtons[] = {
    {mbYes, GTK_RESPONSE_YES, "_Yes"},
    {mbCancel, GTK_RESPONSE_CANCEL, "_Cancel"},
};

void AddContent(GtkDialog* dialog, TextView Msg, TMsgDlgType DlgType) {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 16);
    gtk_container_set_border_width(GTK_CONTAINER(row), 12);
    if (auto pixbuf = LoadPngResource(IconResourceName(DlgType))) {
        GtkWidget* image = gtk_image_new_from_pixbuf(pixbuf.get());
        gtk_widget_set_valign(image, GTK_ALIGN_START);
        gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
    }
    GtkWidget* label = gtk_label_new(Shared::ToUtf8(Msg).c_str());
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_selectable(GTK_LABEL(label), FALSE);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(dialog)), row, TRUE, TRUE, 0);
}

void AddButtons(GtkDialog* dialog, unsigned Buttons, const std::vector<Text>& Captions) {
    size_t k = 0;
    for (const auto& standard : StandardButtons) {
        if (!(Buttons & standard.Button)) continue;
        GtkWidget* button = k < Captions.size() ? gtk_button_new_with_label(Shared::ToUtf8(Captions[k]).c_str())
                                                : gtk_button_new_with_mnemonic(standard.Caption);
        ++k;
        gtk_widget_set_can_default(button, TRUE);
        gtk_dialog_add_action_widget(dialog, button, standard.Response);
        gtk_widget_show(button);
    }
}

} // namespace

int LocalizedMessageDlg(TextView Msg, TMsgDlgType DlgType, unsigned Buttons, const std::vector<Text>& Captions,
                        TextView Title) {
    Platform::TopLevelPtr widget(gtk_dialog_new());
    GtkDialog* dialog = GTK_DIALOG(widget.get());
    GtkWindow* window = GTK_WINDOW(widget.get());
    gtk_window_set_title(window, Shared::ToUtf8(Title).c_str());
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);

    AddContent(dialog, Msg, DlgType);
    AddButtons(dialog, Buttons, Captions);
    if (Buttons & mbYes) {
        gtk_dialog_set_default_response(dialog, GTK_RESPONSE_YES);
        gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(dialog, GTK_RESPONSE_YES));
    }
    gtk_widget_show_all(widget.get());

    // Escape and the close box both arrive as GTK_RESPONSE_DELETE_EVENT.
    const int response = gtk_dialog_run(dialog);
    widget.reset();
    while (gtk_events_pending()) gtk_main_iteration();
    return response == GTK_RESPONSE_YES ? mrYes : mrCancel;
}

// There is no hidden owner window carrying a taskbar button on this platform.
void HideApplicationOwnerWindow() {}

} // namespace Velmora::Platform
