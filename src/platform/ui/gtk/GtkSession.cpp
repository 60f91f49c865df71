#include "platform/ui/gtk/GtkSession.h"

#include <gtk/gtk.h>

#include <cstdlib>

namespace ui::gtk {

bool StartGtk() {
    static const bool started = [] {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if ((!x11 || !*x11) && (!wayland || !*wayland)) return false;
        // The rest of the program parses numbers in the C locale.
        gtk_disable_setlocale();
        // Parent windows given on the command line are X11 windows.
        gdk_set_allowed_backends("x11,*");
        return gtk_init_check(nullptr, nullptr) != FALSE;
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
