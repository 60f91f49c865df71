#pragma once
// GTK is started once, on the first dialog or message box, and only when there is a display.

#include <string>
#include <string_view>

namespace ui::gtk {

// False when no display can be opened.
bool StartGtk();
// True once the program was asked to end: nothing more is shown.
bool Cancelled();
// GTK shows only UTF-8: other bytes become replacement characters.
std::string DisplayText(std::string_view text);
// Runs the main loop until nothing is pending (a window just closed disappears).
void FlushEvents();

}  // namespace ui::gtk
