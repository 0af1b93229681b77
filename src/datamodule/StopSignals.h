#pragma once

#include <functional>

// On Unix systems, a request to stop (SIGTERM, SIGINT, SIGHUP: the session
// ends, Ctrl+C) ends the program at any moment: `closeWindows` runs (the
// program closes every window as if by its close box, so a message box
// returns and a register cancels its pending row) and the event loop quits,
// so the database connection closes properly. The request is handled by
// whatever event loop runs, the error box shown before the main loop starts
// included. Nothing to do on Windows. It lives with the data module because
// the database client takes these signals over each time it attaches.
void quitOnStopSignals(std::function<void()> closeWindows);

// The database client puts in its own handlers for these signals when it
// attaches, and then swallows them: after an attach, ours are put back. Does
// nothing unless quitOnStopSignals was called (tests never call it).
void reclaimStopSignals();
