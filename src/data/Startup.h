#pragma once

// The program's start: the application folder is recorded and DM created,
// which finds the database file and opens the connection. A refused
// connection is shown in the error box and ends the start with status 1.
int runKelmara(int argc, char **argv);
