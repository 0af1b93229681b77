#pragma once

// Figures of the accounts' password hashes (PasswordHash): making one and
// checking one, as the sign-in does, with the program's cost.
void passwordFigures();
