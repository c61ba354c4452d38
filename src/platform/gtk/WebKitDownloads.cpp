// WebKitGTK: downloads ask for their target (see WebKitDownloads.h).
#include "platform/gtk/WebKitDownloads.h"

#include "platform/gtk/GtkHandles.h"

namespace Velmora::Platform {

namespace {

constexpr const char* DialogTitle = "Save File";

GtkWindow* WindowOf(WebKitDownload* download) {
    WebKitWebView* view = webkit_download_get_web_view(download);
    GtkWidget* top = view != nullptr ? gtk_widget_get_toplevel(GTK_WIDGET(view)) : nullptr;
    return top != nullptr && gtk_widget_is_toplevel(top) ? GTK_WINDOW(top) : nullptr;
}

const char* DownloadsFolder() {
    const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
    return folder != nullptr ? folder : g_get_home_dir();
}

// Runs the save dialog; the engine waits for the answer. True: handled (destination set, or the
// download cancelled).
gboolean DecideDestination(WebKitDownload* download, gchar* suggestedName, gpointer) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(DialogTitle, WindowOf(download), GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_current_folder(chooser, DownloadsFolder());
    const GCharPtr name{g_path_get_basename(suggestedName != nullptr && *suggestedName ? suggestedName : "download")};
    gtk_file_chooser_set_current_name(chooser, name.get());
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    const bool accepted = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT;
    const GCharPtr target{accepted ? gtk_file_chooser_get_filename(chooser) : nullptr};
    gtk_widget_destroy(dialog);
    if (target == nullptr) {
        webkit_download_cancel(download);
        return TRUE;
    }
    // The dialog asked before a file was replaced.
    webkit_download_set_allow_overwrite(download, TRUE);
    webkit_download_set_destination(download, target.get());
    return TRUE;
}

void DownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
    g_signal_connect(download, "decide-destination", G_CALLBACK(DecideDestination), nullptr);
}

} // namespace

void AskWhereDownloadsGo(WebKitWebContext* Context) {
    g_signal_connect(Context, "download-started", G_CALLBACK(DownloadStarted), nullptr);
}

} // namespace Velmora::Platform
