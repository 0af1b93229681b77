#pragma once

#include <QString>

class TDM;

// Figures of the secretary's lists: "Exportar" of the members grid with
// every member of a large table listed, and the membership cards of every
// member of a church whose members all have phone photographs (the run must
// keep each picture at its print size only, never the photographs).
void exportFigures(TDM &dm);
void membershipCardFigures(const QString &churchFile);
