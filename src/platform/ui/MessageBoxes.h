#pragma once
// The system's message boxes. Without a display their text goes to standard error.

#include <string_view>

namespace ui {

// One OK button, no owner.
void ShowMessageBox(std::string_view text, std::string_view caption);
// The box of the failed graphics check: its two buttons, `downloadButton` and Cancel, give 1
// (download) or 2 (cancel).
int ShowDirectXDialog(std::string_view text, std::string_view downloadButton);

}  // namespace ui
