#include "QueryDataset.h"

#include "EngineErrors.h"
#include "FirebirdClient.h"

#include <QSqlDatabase>

QueryDataset::QueryDataset(const QString &name, const QString &connectionName, QObject *parent)
    : Dataset(parent), m_connection(connectionName)
{
    setObjectName(name);
}

QueryDataset::~QueryDataset() = default;

// A new statement starts without the parameter values of the old one.
void QueryDataset::clearSql()
{
    close();
    m_sql.clear();
    m_named.clear();
    m_positional.clear();
}

void QueryDataset::addSql(const QString &line)
{
    close();
    m_sql << line;
}

void QueryDataset::setSql(const QStringList &lines)
{
    clearSql();
    m_sql = lines;
}

void QueryDataset::setParam(const QString &name, const QVariant &value)
{
    m_named.insert((name.startsWith(u':') ? name : u':' + name).toUpper(), value);
}

void QueryDataset::setParam(int position, const QVariant &value)
{
    m_positional.insert(position, value);
}

// One value per parameter of the statement: by position where one was set,
// otherwise by name; a parameter given no value is empty.
QVariantList QueryDataset::parameterValues(const QStringList &order) const
{
    QVariantList values;
    for (int i = 0; i < order.size(); ++i)
        values << (m_positional.contains(i) ? m_positional.value(i) : m_named.value(order[i]));
    return values;
}

void QueryDataset::open()
{
    if (active())
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        throw connectionNotOpen(m_connection);
    QStringList order;
    const QString sql = Firebird::positionalSql(m_sql.join(u'\n'), order);
    auto transaction = std::make_unique<Firebird::Transaction>(Firebird::attachmentOf(db),
                                                               Firebird::Transaction::Isolation::Snapshot);
    Firebird::Cursor cursor(*transaction, sql);
    cursor.execute(parameterValues(order));

    FieldDefs defs;
    bool pictures = false;
    for (int c = 0; c < cursor.columnCount(); ++c) {
        FieldDef def;
        def.name = cursor.columnName(c);
        def.type = cursor.columnType(c);
        def.size = def.type == FieldType::Text ? cursor.columnWidth(c) : 0;
        pictures = pictures || def.type == FieldType::Blob;
        defs << def;
    }
    RowStore rows(defs);
    while (cursor.fetch()) {
        const int row = rows.appendRow();
        for (int c = 0; c < defs.size(); ++c)
            Firebird::storeCell(rows, row, c, defs[c].type, cursor);
    }
    defineFields(defs);
    m_rows = std::move(rows);
    if (pictures)
        m_pictures = std::move(transaction); // the pictures are read from it when asked for
    else
        transaction->commit();
    setState(State::Browse);
    resetNavigation();
    emit rowsReset();
    emit currentChanged();
}

void QueryDataset::close()
{
    if (!active())
        return;
    m_rows.clear();
    m_pictures.reset();
    m_fetchedRow = m_fetchedColumn = -1;
    m_fetched.clear();
    setCurrent(-1);
    setState(State::Inactive);
    emit rowsReset();
}

QVariant QueryDataset::fieldValue(int column) const
{
    const int row = currentIndex();
    if (row < 0)
        return {};
    const QVariant value = m_rows.value(row, column);
    if (!isStoredBlob(value))
        return value;
    if (row != m_fetchedRow || column != m_fetchedColumn) {
        if (!m_pictures)
            throw DbError(QStringLiteral("%1: a consulta foi fechada.").arg(objectName()));
        m_fetched = Firebird::readBlob(*m_pictures, m_rows.blobReference(row, column));
        m_fetchedRow = row;
        m_fetchedColumn = column;
    }
    return m_fetched.isEmpty() ? QVariant() : QVariant(m_fetched);
}

void QueryDataset::setFieldValue(int, const QVariant &)
{
    throw DbError(QStringLiteral("%1: uma consulta não pode ser alterada.").arg(objectName()));
}
