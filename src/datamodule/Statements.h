#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

// One statement on a connection of its own making (the upgrade, the
// conversion of old rows), its values bound by position, forward only.
// DbError with the engine's message, in Portuguese where it is known.
namespace Statements {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});
bool anyRow(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

} // namespace Statements
