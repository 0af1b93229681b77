#pragma once

#include "dataset/DbError.h"

#include <QSqlError>

// The message for a failed statement or connection. The refusals a user meets
// in daily work (a code another workstation took, a full disk, a read-only
// file, a character the database cannot hold) are said in Portuguese with
// what to do; the database's own text follows, for whoever looks after the
// installation. Any other failure keeps the database's text as it is.
DbError dbErrorFrom(const QSqlError &error);
// The same for the engine's own text, read through the client library.
DbError dbErrorFromEngine(const QString &engineText);

// The refusal of a read or write on a connection that is not open.
DbError connectionNotOpen(const QString &connectionName);
