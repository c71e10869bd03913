#include "platform/TerminationSignals.h"

#include <atomic>
#include <csignal>

namespace orv {

namespace {

// The last signal not yet taken, 0 when none.
std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "read and written in a signal handler");

extern "C" void onTerminationSignal(int sig) {
    if (pendingSignal.exchange(sig) == sig) {
        std::signal(sig, SIG_DFL);
        std::raise(sig);
    }
}

} // namespace

void installTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    // A read or write in progress carries on rather than failing with EINTR.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

bool takeTerminationRequest() {
    return pendingSignal.exchange(0) != 0;
}

} // namespace orv
