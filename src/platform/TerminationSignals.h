// SIGTERM, SIGINT and SIGHUP as a request to end, taken at the next pump and turned into the
// window's terminating close, so the run ends through its normal shut-down (its temporary
// directory removed, its files complete). A second signal of the same kind before the first was
// taken ends the process at once, so a program that no longer pumps can still be stopped.
#pragma once

namespace orv {

// Installs the handlers for the whole process (the window backend's library then keeps them).
void installTerminationSignals();

// True once for each request that arrived since the last call.
bool takeTerminationRequest();

} // namespace orv
