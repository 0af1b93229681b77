#include "SqlTableSource.h"

#include "EngineErrors.h"

SqlTableSource::SqlTableSource(const QString &connectionName, const QString &tableName, QObject *parent)
    : QObject(parent), m_connection(connectionName), m_table(tableName)
{
}

QSqlDatabase SqlTableSource::database() const
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        throw connectionNotOpen(m_connection);
    return db;
}

void SqlTableSource::setActive(bool on)
{
    if (on)
        database();
    m_active = on;
}
