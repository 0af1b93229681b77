#include "Statements.h"

#include "provider/EngineErrors.h"

#include <QSqlError>

namespace Statements {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw dbErrorFrom(q.lastError());
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw dbErrorFrom(q.lastError());
    return q;
}

void execute(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw dbErrorFrom(q.lastError());
}

bool anyRow(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q = run(db, sql, values);
    return q.next();
}

} // namespace Statements
