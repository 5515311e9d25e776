#include "media/sdl/EndSignals.h"

#include <csignal>
#include <initializer_list>

namespace media {
namespace {

volatile std::sig_atomic_t g_endRequested = 0;

extern "C" void NoteEndSignal(int) { g_endRequested = 1; }

}  // namespace

void CatchEndSignals() {
    struct sigaction action = {};
    action.sa_handler = NoteEndSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool EndSignalCaught() { return g_endRequested != 0; }

}  // namespace media
