#include "DatasetProvider.h"

#include "DatabaseLocation.h"
#include "EngineErrors.h"
#include "FirebirdClient.h"
#include "SqlTableSource.h"
#include "ReadAhead.h"
#include "StoredTables.h"
#include "TableReads.h"
#include "dataset/RowStore.h"
#include "dataset/TableDataset.h"

#include <QHash>
#include <QSet>
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

// One apply, in one transaction of its own on the connection's attachment.
// Statements are prepared once per connection and shape of row and kept, so
// on a network saving a row costs the transaction's start, its statement and
// the commit. An update or delete returns the code of the row it touched: no
// row is a refusal, told in the same round trip.
class Writer
{
public:
    Writer(isc_db_handle db, Firebird::Transaction &transaction, const TableDataset &dataset, const QString &table,
           QSet<int> absent)
        : m_db(db), m_transaction(transaction), m_dataset(dataset), m_defs(dataset.fieldDefs()), m_table(table),
          m_key(m_defs[codeColumn(m_defs)].name), m_absent(std::move(absent))
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
    void run(const QString &sql, const QVariantList &values)
    {
        if (!Firebird::keptCursor(m_db, sql).run(m_transaction, values))
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
        run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(m_table, names.join(u','), marks.join(u',')), values);
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
        run(QStringLiteral("UPDATE %1 SET %2 WHERE %3 RETURNING %4").arg(m_table, sets.join(u','), where, m_key), values);
    }

    void deleteRow(const QVector<QVariant> &original)
    {
        QVariantList values;
        const QString where = whereOriginal(original, values);
        run(QStringLiteral("DELETE FROM %1 WHERE %2 RETURNING %3").arg(m_table, where, m_key), values);
    }

    isc_db_handle m_db;
    Firebird::Transaction &m_transaction;
    const TableDataset &m_dataset;
    const FieldDefs &m_defs;
    const QString &m_table;
    const QString m_key;
    QSet<int> m_absent;
};

} // namespace

DatasetProvider::DatasetProvider(SqlTableSource *source, QObject *parent) : QObject(parent), m_source(source)
{
}

// The table's columns are checked against the program's before anything is
// read (the database's description is read once per connection), and the
// whole table is then read by one statement, prepared once per connection, in
// the connection's kept read transaction: on a network a table's open costs
// the round trips of its rows and no more. When the rows were read ahead,
// they are taken as they came.
void DatasetProvider::load(const TableDataset &dataset, RowStore &store) const
{
    m_pictures.clear();
    if (m_rowsAhead.valid()) {
        std::future<RowStore> ahead = std::move(m_rowsAhead);
        try {
            store = ahead.get();
            return;
        } catch (const std::exception &) {
            store = RowStore(dataset.fieldDefs()); // read again here, where a failure is shown
        }
    }
    const QSqlDatabase db = m_source->database();
    ReadStatements statements = ReadStatements::kept(Firebird::attachmentOf(db));
    readRows(statements.cursor(selectOf(dataset, db)), dataset.fieldDefs(), store);
}

QString DatasetProvider::selectOf(const TableDataset &dataset, const QSqlDatabase &db) const
{
    const TableRead read = tableRead(m_source->tableName(), dataset.fieldDefs(), StoredTables::of(db));
    return QStringLiteral("SELECT %1 FROM %2").arg(read.selectList, m_source->tableName());
}

// The table's rows read beside the windows, for its first open. Whether the
// table fits is known here at once (DbError), from the stored description.
void DatasetProvider::readAhead(const TableDataset &dataset)
{
    if (m_rowsAhead.valid())
        return;
    const QSqlDatabase db = m_source->database();
    const QString select = selectOf(dataset, db);
    m_rowsAhead = ReadAhead::later<RowStore>(db, [select, defs = dataset.fieldDefs()](isc_db_handle attachment) {
        ReadStatements statements = ReadStatements::own(attachment);
        RowStore store(defs);
        readRows(statements.cursor(select), defs, store);
        statements.finish();
        return store;
    });
}

PictureColumn DatasetProvider::pictureColumn(const TableDataset &dataset, int column) const
{
    const FieldDefs &defs = dataset.fieldDefs();
    const int key = codeColumn(defs);
    if (key < 0)
        throw DbError(QStringLiteral("%1: a tabela não tem coluna de código.").arg(m_source->tableName()));
    return {m_source->tableName(), defs[column].name, defs[key].name,
            DatabaseLocation::of(m_source->database().databaseName()).onServer()};
}

QVariant DatasetProvider::codeAsRead(const TableDataset &dataset, int row) const
{
    return dataset.valuesAsRead(row).value(codeColumn(dataset.fieldDefs()));
}

QByteArray DatasetProvider::fetchPicture(const TableDataset &dataset, int row, int column) const
{
    const PictureColumn where = pictureColumn(dataset, column);
    const QVariant code = codeAsRead(dataset, row);
    const auto ahead = m_pictures.find({code.toLongLong(), column});
    if (ahead != m_pictures.end()) {
        std::shared_future<QByteArray> picture = ahead->second.picture;
        try {
            return picture.get();
        } catch (const std::exception &) {
            m_pictures.erase(ahead); // read here, where a failure is shown
        }
    }
    ReadStatements statements = ReadStatements::kept(Firebird::attachmentOf(m_source->database()));
    return readPicture(statements, where, code);
}

// The pictures of `rows` read beside the windows; those of other rows are
// let go, so only the neighbours of the row on screen are held.
void DatasetProvider::readPicturesAhead(const TableDataset &dataset, const QList<int> &rows, int column) const
{
    const PictureColumn where = pictureColumn(dataset, column);
    const QSqlDatabase db = m_source->database();
    PicturesAhead kept;
    for (int row : rows) {
        const QVariant code = codeAsRead(dataset, row);
        const std::pair<qint64, int> key{code.toLongLong(), column};
        auto found = m_pictures.find(key);
        if (found != m_pictures.end()) {
            kept.insert(*found);
            continue;
        }
        // A read let go before it starts (the user went elsewhere) is skipped.
        auto wanted = std::make_shared<bool>(true);
        std::weak_ptr<bool> stillWanted = wanted;
        std::shared_future<QByteArray> picture =
            ReadAhead::later<QByteArray>(db, [where, code, stillWanted](isc_db_handle attachment) {
                if (stillWanted.expired())
                    return QByteArray();
                ReadStatements statements = ReadStatements::own(attachment);
                QByteArray bytes = readPicture(statements, where, code);
                statements.finish();
                return bytes;
            }).share();
        kept.emplace(key, PictureAhead{picture, wanted});
    }
    m_pictures = std::move(kept);
}

void DatasetProvider::forgetReadAhead()
{
    m_rowsAhead = {};
    m_pictures.clear();
}

void endOpenReads(const QSqlDatabase &db)
{
    StoredTables::forget(db);
    if (!db.isOpen())
        return;
    ReadAhead::stop(db);
    Firebird::endTransactions(Firebird::attachmentOf(db));
}

void DatasetProvider::openSource()
{
    m_source->setActive(true);
}

void DatasetProvider::apply(const TableDataset &dataset)
{
    m_pictures.clear(); // a picture written now would differ from one read ahead
    const QSqlDatabase db = m_source->database();
    QSet<int> absent = tableRead(m_source->tableName(), dataset.fieldDefs(), StoredTables::of(db)).absent;
    if (codeColumn(dataset.fieldDefs()) < 0)
        throw DbError(QStringLiteral("%1: a tabela não tem coluna de código.").arg(m_source->tableName()));
    const isc_db_handle attachment = Firebird::attachmentOf(db);
    Firebird::Transaction transaction(attachment, Firebird::Transaction::Isolation::Write); // rolled back unless committed
    Writer writer(attachment, transaction, dataset, m_source->tableName(), std::move(absent));
    for (const TableDataset::Change &change : dataset.changes())
        writer.write(change);
    transaction.commit();
    emit applied();
}
