#include <gtk/gtk.h>

#include <cstdio>
#include <string>

#include "platform/ui/DialogResources.h"
#include "platform/ui/MessageBoxes.h"
#include "platform/ui/gtk/GtkSession.h"

namespace ui {
namespace {

constexpr const char* kDirectXCaption = "Dialog";
constexpr const char* kCancelButton = "Cancel";
// Where and how large the graphics-check dialog appears.
constexpr int kDirectXX = 300, kDirectXY = 300, kDirectXWidth = 390, kDirectXHeight = 131;

void PrintToTerminal(std::string_view text, std::string_view caption) {
    std::fprintf(stderr, "%.*s%s%.*s\n", static_cast<int>(caption.size()), caption.data(), caption.empty() ? "" : ": ",
                 static_cast<int>(text.size()), text.data());
}

}  // namespace

void ShowMessageBox(std::string_view text, std::string_view caption) {
    if (!gtk::StartGtk() || gtk::Cancelled()) {
        PrintToTerminal(text, caption);
        return;
    }
    const std::string message = gtk::DisplayText(text);
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s",
                                            message.c_str());
    gtk_window_set_title(GTK_WINDOW(box), gtk::DisplayText(caption).c_str());
    gtk_widget_set_name(box, "message-box");
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    gtk::FlushEvents();
}

int ShowDirectXDialog(std::string_view text, std::string_view downloadButton) {
    if (!gtk::StartGtk() || gtk::Cancelled()) {
        PrintToTerminal(text, "");
        return IDCANCEL;
    }
    const std::string message = gtk::DisplayText(text);
    GtkWidget* box =
        gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE, "%s", message.c_str());
    gtk_window_set_title(GTK_WINDOW(box), kDirectXCaption);
    gtk_widget_set_name(box, "message-box");
    gtk_dialog_add_button(GTK_DIALOG(box), gtk::DisplayText(downloadButton).c_str(), IDOK);
    gtk_dialog_add_button(GTK_DIALOG(box), kCancelButton, IDCANCEL);
    gtk_dialog_set_default_response(GTK_DIALOG(box), IDOK);
    gtk_window_move(GTK_WINDOW(box), kDirectXX, kDirectXY);
    gtk_window_set_default_size(GTK_WINDOW(box), kDirectXWidth, kDirectXHeight);
    const int response = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    gtk::FlushEvents();
    // Closing the window is cancelling.
    return response == IDOK ? IDOK : IDCANCEL;
}

}  // namespace ui
