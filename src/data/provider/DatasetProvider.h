#pragma once

#include <QObject>
#include <QSqlDatabase>

class RowStore;
namespace Firebird {
class Transaction;
}
class SqlTableSource;
class TableDataset;

// DSP<T>: reads a whole table into a table dataset and writes the dataset's
// pending changes back. Writing is one transaction of prepared statements;
// updates and deletes find their row by the code and by every non-picture
// value the row had when it was read, so a row changed meanwhile by another
// workstation is never overwritten. At the first refusal everything is rolled
// back and a DbError raised; the dataset keeps its pending changes.
class DatasetProvider : public QObject
{
    Q_OBJECT
public:
    explicit DatasetProvider(SqlTableSource *source, QObject *parent = nullptr);

    SqlTableSource *source() const { return m_source; }
    // Reads every row through the database client, pictures left in the
    // database (see RowStore).
    void load(const TableDataset &dataset, RowStore &store) const;
    void apply(const TableDataset &dataset) const;
    // The picture of a physical row as the database holds it now, found by
    // the row's code; empty when it has none or the row is gone.
    QByteArray fetchPicture(const TableDataset &dataset, int row, int column) const;

signals:
    void applied() const; // changes were written and committed

private:
    QString selectList(const TableDataset &dataset, Firebird::Transaction &transaction) const;

    SqlTableSource *m_source;
};

// Ends the reads of the dataset layer still open on `db` (a query holding its
// pictures for a report), so that the connection can be closed.
void endOpenReads(const QSqlDatabase &db);

// The message that refuses a change to a row another connection changed or deleted.
inline constexpr const char *kRowChangedByOtherUser = "Registro não encontrado ou alterado por outro usuário.";
