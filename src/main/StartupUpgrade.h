#pragma once

#include <QString>

class TDM;

// At start-up, right after the connection is open: a database below the
// program's level is brought up to date once, after a checked backup copy
// tagged "antes-da-atualizacao", with the progress shown in a box; when the
// rows it changed held passwords as typed, a local file is then made anew
// from a copy, so nothing of them stays in its free space. Whatever
// fails is said in Portuguese and leaves the database as it was; the program
// then runs without what the new levels bring (its windows ask
// SchemaUpgrade::available).
namespace StartupUpgrade {

inline const QString kBackupTag = QStringLiteral("antes-da-atualizacao");

// True when the database is at the program's level afterwards.
bool run(TDM &dm);

} // namespace StartupUpgrade
