#pragma once

#include "dataset/TableDataset.h"
#include "dataset/TableProvider.h"

#include <QList>
#include <QVariant>
#include <QVariantMap>
#include <memory>

class DataSource;
class Field;

// A table held in memory, for the tests of the layers above the dataset (the
// controls, the report engine), which then link no database: a TableDataset
// and its DataSource over rows the test stores. open() reads them as a
// database table is read (pictures stay behind until asked for), and
// applyUpdates() writes the changes back all or nothing, refusing a code that
// is taken and a change to a row that was changed or deleted meanwhile, as
// the database provider does.
class MemoryTable : public TableProvider
{
public:
    MemoryTable(const QString &name, const FieldDefs &defs);
    ~MemoryTable() override;

    TableDataset *dataset() const { return m_dataset.get(); }
    DataSource *source() const { return m_source; }
    Field *field(const QString &column) const { return m_dataset->fieldByName(column); }

    // Stores a row, as another program would: the columns named, the others empty.
    void store(const QVariantMap &values);
    // What is stored now, row by row as stored.
    int storedCount() const { return int(m_rows.size()); }
    QVariant stored(int row, const QString &column) const;

    void openSource() override {}
    void load(const TableDataset &dataset, RowStore &store) const override;
    void apply(const TableDataset &dataset) override;
    QByteArray fetchPicture(const TableDataset &dataset, int row, int column) const override;

private:
    using Row = QVector<QVariant>;
    int findRow(const QList<Row> &rows, const Row &asRead) const; // -1 when no stored row has those values
    int findCode(const QList<Row> &rows, const QVariant &code) const;

    FieldDefs m_defs;
    int m_code;
    QList<Row> m_rows;
    std::unique_ptr<TableDataset> m_dataset;
    DataSource *m_source;
};

// Column definitions, for declaring a table in a test.
FieldDef codeDef(const QString &name);
FieldDef textDef(const QString &name, int width, const QString &inputMask = {});
FieldDef typedDef(const QString &name, FieldType type, const QString &inputMask = {});
