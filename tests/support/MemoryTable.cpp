#include "MemoryTable.h"

#include "dataset/DataSource.h"
#include "dataset/DbError.h"
#include "dataset/RowStore.h"

namespace {

// Empty texts are stored as nothing, as the dataset stores them.
bool sameValue(const QVariant &stored, const QVariant &asRead, FieldType type)
{
    if (type == FieldType::Text)
        return stored.toString() == asRead.toString();
    return stored == asRead;
}

} // namespace

FieldDef codeDef(const QString &name)
{
    return {name, FieldType::Integer, 0, true, {}};
}

FieldDef textDef(const QString &name, int width, const QString &inputMask)
{
    return {name, FieldType::Text, width, false, inputMask};
}

FieldDef typedDef(const QString &name, FieldType type, const QString &inputMask)
{
    return {name, type, 0, false, inputMask};
}

MemoryTable::MemoryTable(const QString &name, const FieldDefs &defs)
    : m_defs(defs), m_code(codeColumn(defs)), m_dataset(std::make_unique<TableDataset>(name, defs))
{
    m_dataset->setProvider(this);
    m_source = new DataSource(m_dataset.get(), m_dataset.get());
}

MemoryTable::~MemoryTable() = default;

// Each value in the form the dataset reads it, through a row store of its own.
void MemoryTable::store(const QVariantMap &values)
{
    for (const QString &name : values.keys())
        field(name); // DbError for a column the table does not have
    RowStore typed(m_defs);
    typed.appendRow();
    Row row(m_defs.size());
    for (int c = 0; c < m_defs.size(); ++c) {
        typed.setValue(0, c, values.value(m_defs[c].name));
        row[c] = typed.value(0, c);
    }
    m_rows << row;
}

QVariant MemoryTable::stored(int row, const QString &column) const
{
    for (int c = 0; c < m_defs.size(); ++c)
        if (m_defs[c].name == column)
            return m_rows.at(row).at(c);
    throw DbError(QStringLiteral("%1: coluna %2 desconhecida.").arg(m_dataset->objectName(), column));
}

void MemoryTable::load(const TableDataset &, RowStore &store) const
{
    for (const Row &values : m_rows) {
        const int row = store.appendRow();
        for (int c = 0; c < m_defs.size(); ++c) {
            if (m_defs[c].type == FieldType::Blob && !values[c].isNull())
                store.setStoredBlob(row, c);
            else
                store.setValue(row, c, values[c]);
        }
    }
}

int MemoryTable::findRow(const QList<Row> &rows, const Row &asRead) const
{
    for (int r = 0; r < rows.size(); ++r) {
        bool same = true;
        for (int c = 0; c < m_defs.size() && same; ++c)
            same = m_defs[c].type == FieldType::Blob || sameValue(rows[r][c], asRead[c], m_defs[c].type);
        if (same)
            return r;
    }
    return -1;
}

int MemoryTable::findCode(const QList<Row> &rows, const QVariant &code) const
{
    for (int r = 0; r < rows.size(); ++r)
        if (rows[r][m_code] == code)
            return r;
    return -1;
}

void MemoryTable::apply(const TableDataset &dataset)
{
    QList<Row> rows = m_rows; // kept only when every change is written
    for (const TableDataset::Change &change : dataset.changes()) {
        const Row values = dataset.rowValues(change.row);
        if (change.kind == TableDataset::Change::Inserted) {
            if (findCode(rows, values[m_code]) >= 0)
                throw DbError(QStringLiteral("Já existe um registro com o código %1.").arg(values[m_code].toString()),
                              DbError::Reason::DuplicateKey);
            rows << values;
            continue;
        }
        const int r = findRow(rows, change.original);
        if (r < 0)
            throw DbError(QString::fromUtf8(kRowChangedByOtherUser));
        if (change.kind == TableDataset::Change::Deleted) {
            rows.removeAt(r);
            continue;
        }
        for (int c = 0; c < m_defs.size(); ++c)
            if (values[c] != change.original[c]) // a picture not read stays as stored
                rows[r][c] = values[c];
    }
    m_rows = rows;
}

QByteArray MemoryTable::fetchPicture(const TableDataset &dataset, int row, int column) const
{
    const int r = findCode(m_rows, dataset.valuesAsRead(row).value(m_code));
    return r < 0 ? QByteArray() : m_rows[r][column].toByteArray();
}
