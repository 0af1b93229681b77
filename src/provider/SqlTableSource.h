#pragma once

#include <QObject>
#include <QSqlDatabase>

// SQL<T>: names the table that a table dataset reads, on one connection.
class SqlTableSource : public QObject
{
    Q_OBJECT
public:
    SqlTableSource(const QString &connectionName, const QString &tableName, QObject *parent = nullptr);

    const QString &tableName() const { return m_table; }
    QSqlDatabase database() const; // DbError when the connection is not open

    void setActive(bool on);
    bool isActive() const { return m_active; }

private:
    QString m_connection;
    QString m_table;
    bool m_active = false;
};
