#include "platform/ui/gtk/GtkSession.h"

#include <gtk/gtk.h>

#include <cstdlib>

#include "platform/ui/Dialog.h"

namespace ui {
namespace {

constexpr guint kCancelPollMs = 100;
bool (*g_cancelRequest)() = nullptr;
bool g_cancelled = false;

// Closes every open window as its close button would: dialogs answer "cancel".
void CloseAll() {
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        if (!gtk_widget_get_visible(GTK_WIDGET(w->data))) continue;
        if (GTK_IS_DIALOG(w->data)) gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_DELETE_EVENT);
        else gtk_window_close(GTK_WINDOW(w->data));
    }
    g_list_free(windows);
}

gboolean PollCancelRequest(gpointer) {
    if (g_cancelRequest && g_cancelRequest()) g_cancelled = true;
    if (g_cancelled) CloseAll();
    return G_SOURCE_CONTINUE;
}

}  // namespace

void SetCancelRequest(bool (*takeRequest)()) { g_cancelRequest = takeRequest; }

}  // namespace ui

namespace ui::gtk {

bool Cancelled() { return g_cancelled; }

bool StartGtk() {
    static const bool started = [] {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if ((!x11 || !*x11) && (!wayland || !*wayland)) return false;
        // The rest of the program parses numbers in the C locale.
        gtk_disable_setlocale();
        // Parent windows given on the command line are X11 windows.
        gdk_set_allowed_backends("x11,*");
        if (!gtk_init_check(nullptr, nullptr)) return false;
        g_timeout_add(kCancelPollMs, &PollCancelRequest, nullptr);
        return true;
    }();
    return started;
}

std::string DisplayText(std::string_view text) {
    const std::string raw(text);
    if (g_utf8_validate(raw.data(), static_cast<gssize>(raw.size()), nullptr)) return raw;
    gchar* valid = g_utf8_make_valid(raw.data(), static_cast<gssize>(raw.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

void FlushEvents() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

}  // namespace ui::gtk
