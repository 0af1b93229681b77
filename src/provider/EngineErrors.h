#pragma once

#include "dataset/DbError.h"

#include <QSqlError>

// The exception the database's triggers raise to refuse what the program's
// rules forbid (a change to a closed month, to the change log).
inline constexpr const char *kRuleRefusal = "KELMARA_RECUSA";

// The message for a failed statement or connection. The refusals a user meets
// in daily work (a code another workstation took, a full disk, a read-only
// file, a character the database cannot hold) are said in Portuguese with
// what to do; the database's own text follows, for whoever looks after the
// installation. Any other failure keeps the database's text as it is.
// A refusal by the database's own rules (its triggers) is an exception of
// this name whose message is already the Portuguese the user reads: that
// message alone is said.
DbError dbErrorFrom(const QSqlError &error);
// The same for the engine's own text, read through the client library.
DbError dbErrorFromEngine(const QString &engineText);

// The refusal of a read or write on a connection that is not open.
DbError connectionNotOpen(const QString &connectionName);
