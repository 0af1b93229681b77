#pragma once

// On Unix systems, a request to stop (SIGTERM, SIGINT, SIGHUP: the session
// ends, Ctrl+C) ends the program at any moment: every window is closed as if
// by its close box (a message box returns, a register cancels its pending
// row) and the event loop quits, so the database connection closes properly.
// The request is handled by whatever event loop runs, the error box shown
// before the main loop starts included. Nothing to do on Windows.
void quitOnStopSignals();

// The database client puts in its own handlers for these signals when it
// attaches, and then swallows them: after an attach, ours are put back. Does
// nothing unless quitOnStopSignals was called (tests never call it).
void reclaimStopSignals();
