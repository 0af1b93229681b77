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

// A transaction of `db` that is rolled back unless committed: what it wrote
// stays whole or not at all. DbError when the engine refuses to start or
// commit it (a refused commit is rolled back).
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
