#pragma once

class TFLogin;

// Creates the sign-in window (which creates DM) and wires the start: a
// correct pair opens the main window, owned by the sign-in window and shown
// maximised, and reminds of an old backup; closing either window makes the
// exit copy (after writes) and ends the program through `endProgram`.
TFLogin *createSignInWindow(void (*endProgram)());

// The whole run: the application titled "KELMARA", the sign-in window, the
// event loop. Exit status 1 when the database cannot be opened.
int runKelmara(int argc, char **argv);
