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

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db))
{
    if (!m_db.transaction())
        throw dbErrorFrom(m_db.lastError());
}

Transaction::~Transaction()
{
    if (m_open)
        m_db.rollback();
}

void Transaction::commit()
{
    m_open = false;
    if (!m_db.commit()) {
        const DbError failure = dbErrorFrom(m_db.lastError());
        m_db.rollback();
        throw failure;
    }
}

void Transaction::rollback()
{
    m_open = false;
    m_db.rollback();
}

} // namespace Statements
