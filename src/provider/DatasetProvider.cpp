#include "DatasetProvider.h"

#include "EngineErrors.h"
#include "FirebirdClient.h"
#include "SqlTableSource.h"
#include "StoredTables.h"
#include "dataset/RowStore.h"
#include "dataset/TableDataset.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>

namespace {

// A typed empty value, so the driver knows the parameter's type.
QVariant typedNull(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
        return QVariant(QMetaType::fromType<int>());
    case FieldType::Money:
        return QVariant(QMetaType::fromType<double>());
    case FieldType::Date:
        return QVariant(QMetaType::fromType<QDate>());
    case FieldType::Blob:
        return QVariant(QMetaType::fromType<QByteArray>());
    case FieldType::Text:
        break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

QVariant bindable(const QVariant &value, FieldType type)
{
    if (isStoredBlob(value)) // only a picture that changed is ever written
        throw DbError(QStringLiteral("Uma fotografia que não foi lida não pode ser gravada."));
    return value.isNull() ? typedNull(type) : value;
}

DbError columnMissing(const QString &table, const QString &column)
{
    return DbError(QStringLiteral("A coluna %1 não existe na tabela %2 deste banco de dados; nada foi gravado. Ela é "
                                  "acrescentada quando o programa atualiza o banco de dados ao ser aberto.")
                       .arg(column, table));
}

// One apply: prepared statements by text, reused for every row of the same shape.
class Writer
{
public:
    Writer(QSqlDatabase db, const TableDataset &dataset, const QString &table, QSet<int> absent)
        : m_db(std::move(db)), m_dataset(dataset), m_defs(dataset.fieldDefs()), m_table(table),
          m_absent(std::move(absent))
    {
    }

    void write(const TableDataset::Change &change)
    {
        switch (change.kind) {
        case TableDataset::Change::Inserted:
            insertRow(m_dataset.rowValues(change.row));
            break;
        case TableDataset::Change::Modified:
            updateRow(change.original, m_dataset.rowValues(change.row));
            break;
        case TableDataset::Change::Deleted:
            deleteRow(change.original);
            break;
        }
    }

private:
    QSqlQuery &prepared(const QString &sql)
    {
        auto it = m_statements.find(sql);
        if (it == m_statements.end()) {
            QSqlQuery q(m_db);
            if (!q.prepare(sql))
                throw dbErrorFrom(q.lastError());
            it = m_statements.insert(sql, q);
        }
        return it.value();
    }

    void run(const QString &sql, const QVariantList &values, bool mustTouchRow)
    {
        QSqlQuery &q = prepared(sql);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        if (!q.exec())
            throw dbErrorFrom(q.lastError());
        if (mustTouchRow && q.numRowsAffected() == 0)
            throw DbError(QString::fromUtf8(kRowChangedByOtherUser));
    }

    // "COL = ? AND COL2 IS NULL ..." over the code and every non-picture column.
    QString whereOriginal(const QVector<QVariant> &original, QVariantList &values) const
    {
        QStringList terms;
        for (int c = 0; c < m_defs.size(); ++c) {
            if (m_defs[c].type == FieldType::Blob || m_absent.contains(c))
                continue;
            if (original[c].isNull() && m_defs[c].type == FieldType::Text) {
                // Read as empty: the database may hold NULL or an empty text.
                terms << QStringLiteral("(%1 IS NULL OR %1 = '')").arg(m_defs[c].name);
            } else if (original[c].isNull()) {
                terms << m_defs[c].name + QStringLiteral(" IS NULL");
            } else {
                terms << m_defs[c].name + QStringLiteral(" = ?");
                values << original[c];
            }
        }
        return terms.join(QStringLiteral(" AND "));
    }

    void insertRow(const QVector<QVariant> &row)
    {
        QStringList names, marks;
        QVariantList values;
        for (int c = 0; c < m_defs.size(); ++c) {
            if (m_absent.contains(c)) {
                if (!row[c].isNull())
                    throw columnMissing(m_table, m_defs[c].name);
                continue;
            }
            names << m_defs[c].name;
            marks << QStringLiteral("?");
            values << bindable(row[c], m_defs[c].type);
        }
        run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(m_table, names.join(u','), marks.join(u',')),
            values, false);
    }

    void updateRow(const QVector<QVariant> &original, const QVector<QVariant> &row)
    {
        QStringList sets;
        QVariantList values;
        for (int c = 0; c < m_defs.size(); ++c) {
            if (row[c] == original[c])
                continue;
            if (m_absent.contains(c))
                throw columnMissing(m_table, m_defs[c].name);
            sets << m_defs[c].name + QStringLiteral(" = ?");
            values << bindable(row[c], m_defs[c].type);
        }
        if (sets.isEmpty())
            return;
        const QString where = whereOriginal(original, values);
        run(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(m_table, sets.join(u','), where), values, true);
    }

    void deleteRow(const QVector<QVariant> &original)
    {
        QVariantList values;
        const QString where = whereOriginal(original, values);
        run(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_table, where), values, true);
    }

    QSqlDatabase m_db;
    const TableDataset &m_dataset;
    const FieldDefs &m_defs;
    const QString &m_table;
    QSet<int> m_absent;
    QHash<QString, QSqlQuery> m_statements;
};

} // namespace

DatasetProvider::DatasetProvider(SqlTableSource *source, QObject *parent) : QObject(parent), m_source(source)
{
}

// The table's columns are checked against the program's before anything is
// read (the database's description is read once per connection), and the
// whole table is then read in one statement.
void DatasetProvider::load(const TableDataset &dataset, RowStore &store) const
{
    const FieldDefs &defs = dataset.fieldDefs();
    const QSqlDatabase db = m_source->database();
    const TableRead read = tableRead(m_source->tableName(), defs, StoredTables::of(db));
    Firebird::Transaction transaction(Firebird::attachmentOf(db), Firebird::Transaction::Isolation::Snapshot);
    Firebird::Cursor cursor(transaction, QStringLiteral("SELECT %1 FROM %2").arg(read.selectList, m_source->tableName()));
    cursor.execute();
    const int columns = int(defs.size());
    while (cursor.fetch()) {
        const int row = store.appendRow();
        for (int c = 0; c < columns; ++c)
            Firebird::storeCell(store, row, c, defs[c].type, cursor);
    }
    transaction.commit();
}

QByteArray DatasetProvider::fetchPicture(const TableDataset &dataset, int row, int column) const
{
    const FieldDefs &defs = dataset.fieldDefs();
    const int key = codeColumn(defs);
    if (key < 0)
        throw DbError(QStringLiteral("%1: a tabela não tem coluna de código.").arg(m_source->tableName()));
    const QVariant code = dataset.valuesAsRead(row).value(key);
    Firebird::Transaction transaction(Firebird::attachmentOf(m_source->database()),
                                      Firebird::Transaction::Isolation::ReadCommitted);
    Firebird::Cursor cursor(transaction, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                             .arg(defs[column].name, m_source->tableName(), defs[key].name));
    cursor.execute({code});
    if (!cursor.fetch() || cursor.isNull(0))
        return {};
    return Firebird::readBlob(transaction, cursor.blobId(0));
}

void endOpenReads(const QSqlDatabase &db)
{
    StoredTables::forget(db);
    if (db.isOpen())
        Firebird::endTransactions(Firebird::attachmentOf(db));
}

void DatasetProvider::openSource()
{
    m_source->setActive(true);
}

void DatasetProvider::apply(const TableDataset &dataset)
{
    QSqlDatabase db = m_source->database();
    QSet<int> absent = tableRead(m_source->tableName(), dataset.fieldDefs(), StoredTables::of(db)).absent;
    if (!db.transaction())
        throw dbErrorFrom(db.lastError());
    try {
        Writer writer(db, dataset, m_source->tableName(), std::move(absent));
        for (const TableDataset::Change &change : dataset.changes())
            writer.write(change);
        if (!db.commit())
            throw dbErrorFrom(db.lastError());
    } catch (...) {
        db.rollback();
        throw;
    }
    emit applied();
}
