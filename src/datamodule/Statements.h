#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

// One statement on a connection of its own making (the upgrade, the
// conversion of old rows), its values bound by position, forward only.
// DbError with the engine's message, in Portuguese where it is known.
namespace Statements {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});
// A statement with no values, run as written: a trigger's body keeps its
// ":VARIABLE", which a prepared statement would take for a value.
void execute(const QSqlDatabase &db, const QString &sql);
bool anyRow(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

} // namespace Statements
