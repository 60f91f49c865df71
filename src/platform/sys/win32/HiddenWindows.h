#pragma once
// For recordings on Windows: the program's windows are made and placed but never shown, so a
// recording draws nothing on the user's screen.

namespace sys {

void KeepWindowsHidden(bool hidden);

}  // namespace sys
