#pragma once

#include "dataset/TableProvider.h"

#include <QObject>
#include <QSqlDatabase>

class SqlTableSource;

// DSP<T>: reads a whole table into a table dataset through the database
// client and writes the dataset's pending changes back, in one transaction of
// prepared statements; at the first refusal everything is rolled back.
class DatasetProvider : public QObject, public TableProvider
{
    Q_OBJECT
public:
    explicit DatasetProvider(SqlTableSource *source, QObject *parent = nullptr);

    SqlTableSource *source() const { return m_source; }
    void openSource() override; // SQL<T> made active
    void load(const TableDataset &dataset, RowStore &store) const override;
    void apply(const TableDataset &dataset) override;
    QByteArray fetchPicture(const TableDataset &dataset, int row, int column) const override;

signals:
    void applied() const; // changes were written and committed

private:
    SqlTableSource *m_source;
};

// Ends the reads of the dataset layer still open on `db` (a query holding its
// pictures for a report), so that the connection can be closed.
void endOpenReads(const QSqlDatabase &db);
