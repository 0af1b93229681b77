#pragma once

#include <QObject>

class RowStore;
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
    void load(const TableDataset &dataset, RowStore &store) const;
    void apply(const TableDataset &dataset) const;

signals:
    void applied() const; // changes were written and committed

private:
    SqlTableSource *m_source;
};

// The message that refuses a change to a row another connection changed or deleted.
inline constexpr const char *kRowChangedByOtherUser = "Registro não encontrado ou alterado por outro usuário.";
