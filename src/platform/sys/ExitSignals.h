#pragma once
// The system's requests to end the program (on Linux SIGTERM and SIGINT, as a desktop host or a
// terminal sends them). They are caught for the whole run and turned into a close message for
// the main window at the next message read, so the program shuts down as after any close.

namespace sys {

// Installs the handlers; call first thing in main, before any library starts.
void CatchExitSignals();
// True once per request: the caller delivers it. A second request while one is still waiting
// ends the program at once, so a stuck program can always be stopped.
bool TakeExitRequest();
// True once any request to end has arrived during the run.
bool ExitSignalReceived();

}  // namespace sys
