#pragma once

// On Unix systems, a request to stop (SIGTERM, SIGINT, SIGHUP: the session
// ends, Ctrl+C) quits the event loop so the program ends as if its window
// were closed and the database connection closes properly. The database
// client otherwise takes these signals for itself and the program would
// stay running. Nothing to do on Windows.
void quitOnStopSignals();
