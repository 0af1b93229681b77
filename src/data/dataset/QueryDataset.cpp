#include "QueryDataset.h"

#include "DbError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

QueryDataset::QueryDataset(const QString &name, const QString &connectionName, QObject *parent)
    : Dataset(parent), m_connection(connectionName)
{
    setObjectName(name);
}

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
    m_named.insert(name.startsWith(u':') ? name : u':' + name, value);
}

void QueryDataset::setParam(int position, const QVariant &value)
{
    m_positional.insert(position, value);
}

FieldDefs QueryDataset::fieldDefsOf(const QSqlRecord &record) const
{
    FieldDefs defs;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        FieldDef def;
        def.name = f.name().toUpper();
        switch (f.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
            def.type = FieldType::Integer;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            def.type = FieldType::Money;
            break;
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            def.type = FieldType::Date;
            break;
        case QMetaType::QByteArray:
            def.type = FieldType::Blob;
            break;
        default:
            def.type = FieldType::Text;
            def.size = f.length() > 0 ? f.length() : 0;
        }
        def.editMask = m_masks.value(def.name);
        defs << def;
    }
    return defs;
}

void QueryDataset::open()
{
    if (active())
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        throw DbError(QStringLiteral("A conexão \"%1\" com o banco de dados não está aberta.").arg(m_connection));
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(m_sql.join(u'\n')))
        throw dbErrorFrom(q.lastError());
    for (auto it = m_named.cbegin(); it != m_named.cend(); ++it)
        q.bindValue(it.key(), it.value());
    for (auto it = m_positional.cbegin(); it != m_positional.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec())
        throw dbErrorFrom(q.lastError());

    const FieldDefs defs = fieldDefsOf(q.record());
    defineFields(defs);
    m_rows = RowStore(defs);
    while (q.next()) {
        const int row = m_rows.appendRow();
        for (int c = 0; c < defs.size(); ++c) {
            QVariant v = q.value(c);
            if (v.typeId() == QMetaType::QDateTime)
                v = v.toDateTime().date();
            if (!v.isNull())
                m_rows.setValue(row, c, v);
        }
    }
    if (q.lastError().isValid()) { // a fetch failed part-way: no short report without a word
        m_rows.clear();
        throw dbErrorFrom(q.lastError());
    }
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
    setCurrent(-1);
    setState(State::Inactive);
    emit rowsReset();
}

QVariant QueryDataset::fieldValue(int column) const
{
    const int row = currentIndex();
    return row < 0 ? QVariant() : m_rows.value(row, column);
}

void QueryDataset::setFieldValue(int, const QVariant &)
{
    throw DbError(QStringLiteral("%1: uma consulta não pode ser alterada.").arg(objectName()));
}
