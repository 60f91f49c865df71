#include <SDL.h>

#include <csignal>

#include "platform/sys/ExitSignals.h"

namespace sys {
namespace {

volatile std::sig_atomic_t g_pending = 0;
volatile std::sig_atomic_t g_received = 0;

void OnExitSignal(int signal) {
    if (g_pending) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_pending = 1;
    g_received = 1;
}

}  // namespace

void CatchExitSignals() {
    // SDL would install its own handlers only while its video part runs; ours cover the whole run.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = &OnExitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool ExitSignalReceived() { return g_received != 0; }

bool TakeExitRequest() {
    if (!g_pending) return false;
    g_pending = 0;
    return true;
}

}  // namespace sys
