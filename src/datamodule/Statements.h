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

// A transaction of the connection, rolled back unless committed: what runs
// on it is written whole or not at all.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();
    void rollback();

private:
    QSqlDatabase m_db;
    bool m_open = true;
};

} // namespace Statements
