#include "StoredTables.h"

#include "FirebirdClient.h"
#include "dataset/DbError.h"

#include <QStringList>

#include <map>

namespace {

// RDB$FIELDS.RDB$FIELD_TYPE
enum StoredType : short {
    Smallint = 7,
    Integer = 8,
    Quad = 9,
    Float = 10,
    DFloat = 11,
    Date = 12,
    Time = 13,
    Char = 14,
    Bigint = 16,
    Boolean = 23,
    Double = 27,
    Timestamp = 35,
    Varchar = 37,
    Cstring = 40,
    Blob = 261,
};

// Character sets whose bytes the engine hands over as they are stored when a
// text is cast to OCTETS: WIN1252 itself, and NONE and OCTETS, which keep
// whatever bytes were written. Any other is converted to WIN1252 by the engine.
bool storedAsWin1252(short characterSet)
{
    return characterSet == 53 || characterSet == 0 || characterSet == 1;
}

bool isExactNumber(short type)
{
    return type == Smallint || type == Integer || type == Bigint;
}

// Whether the program can read and write the column as `def` says it is.
bool fits(const FieldDef &def, const StoredColumn &c)
{
    switch (def.type) {
    case FieldType::Integer:
        return isExactNumber(c.type) && c.scale == 0;
    case FieldType::Money:
        return c.type == Float || c.type == Double || c.type == DFloat || (isExactNumber(c.type) && c.scale < 0);
    case FieldType::Date:
        return c.type == Date; // a timestamp would lose its time when the program writes the date
    case FieldType::Text:
        return (c.type == Varchar || c.type == Char) && c.characters >= def.size;
    case FieldType::Blob:
        return c.type == Blob;
    }
    return false;
}

// The select-list item of a column that fits. Texts stored as WIN1252 are
// cast to OCTETS at their width, so the engine copies the stored bytes with
// no conversion to the connection's UTF-8 and back; a CHAR column loses the
// blanks the engine pads it with, as a text the program wrote never had them.
QString selectItem(const FieldDef &def, const StoredColumn &c)
{
    if (def.type != FieldType::Text)
        return def.name;
    const QString value = c.type == Char ? QStringLiteral("TRIM(TRAILING FROM %1)").arg(def.name) : def.name;
    if (!storedAsWin1252(c.characterSet))
        return c.type == Char ? QStringLiteral("%1 AS %2").arg(value, def.name) : def.name;
    return QStringLiteral("CAST(%1 AS VARCHAR(%2) CHARACTER SET OCTETS)").arg(value).arg(std::max(c.characters, 1));
}

// An empty value of the column's type, read in the place of a column the table lacks.
QString emptyItem(const FieldDef &def)
{
    if (def.type == FieldType::Text)
        return QStringLiteral("CAST(NULL AS VARCHAR(%1) CHARACTER SET OCTETS)").arg(std::max(def.size, 1));
    return QStringLiteral("CAST(NULL AS %1)").arg(sqlTypeOf(def));
}

const StoredColumn *findColumn(const StoredTable &table, const QString &name)
{
    for (const StoredColumn &c : table)
        if (c.name == name)
            return &c;
    return nullptr;
}

QString columnList(const FieldDefs &defs)
{
    QStringList columns;
    for (const FieldDef &def : defs)
        columns << def.name + u' ' + sqlTypeOf(def);
    return columns.join(QStringLiteral(", "));
}

const QString kNotOpened = QStringLiteral("A tabela não foi aberta: nada dela foi lido nem pode ser gravado. O banco de "
                                          "dados foi alterado fora do programa ou não é um banco do Kelmara; "
                                          "restaure uma cópia de segurança ou peça ajuda a quem cuida do banco.");

bool addedLater(const FieldDefs &defs)
{
    return !defs.isEmpty() && defs.first().level > 0;
}

// The tables of each connection, by its name, with the attachment they were read on.
struct Kept
{
    isc_db_handle attachment = 0;
    StoredTableMap tables;
    QHash<QString, QVariant> facts;
};
std::map<QString, Kept> &kept()
{
    static std::map<QString, Kept> all;
    return all;
}

StoredTableMap readTables(isc_db_handle attachment)
{
    Firebird::Transaction transaction(attachment, Firebird::Transaction::Isolation::ReadCommitted);
    Firebird::Cursor cursor(
        transaction,
        QStringLiteral("SELECT CAST(TRIM(rf.RDB$RELATION_NAME) AS VARCHAR(63) CHARACTER SET OCTETS), "
                       "CAST(TRIM(rf.RDB$FIELD_NAME) AS VARCHAR(63) CHARACTER SET OCTETS), f.RDB$FIELD_TYPE, "
                       "f.RDB$FIELD_SUB_TYPE, f.RDB$FIELD_SCALE, f.RDB$FIELD_PRECISION, f.RDB$CHARACTER_LENGTH, "
                       "f.RDB$CHARACTER_SET_ID "
                       "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                       "JOIN RDB$RELATIONS r ON r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
                       "WHERE COALESCE(r.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY rf.RDB$FIELD_POSITION"));
    cursor.execute();
    const auto text = [&cursor](int c) {
        const std::string_view bytes = cursor.win1252Bytes(c);
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    };
    const auto number = [&cursor](int c) { return cursor.isNull(c) ? 0 : cursor.integer(c); };
    StoredTableMap tables;
    while (cursor.fetch()) {
        StoredColumn column{text(1),         short(number(2)), short(number(3)), short(number(4)),
                            short(number(5)), int(number(6)),  short(number(7))};
        tables[text(0)].append(column);
    }
    transaction.commit();
    return tables;
}

} // namespace

QString sqlTypeOf(const FieldDef &def)
{
    switch (def.type) {
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::Money:
        return QStringLiteral("DOUBLE PRECISION");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::Blob:
        return QStringLiteral("BLOB SUB_TYPE BINARY");
    case FieldType::Text:
        break;
    }
    return QStringLiteral("VARCHAR(%1)").arg(def.size);
}

QString columnDefinition(const FieldDef &def)
{
    QString column = def.name + u' ' + sqlTypeOf(def);
    if (def.type == FieldType::Text)
        column += QStringLiteral(" CHARACTER SET WIN1252");
    if (def.required)
        column += QStringLiteral(" NOT NULL PRIMARY KEY");
    return column;
}

QString StoredColumn::typeName() const
{
    if (isExactNumber(type) && (scale < 0 || subType == 1 || subType == 2))
        return QStringLiteral("%1(%2,%3)")
            .arg(subType == 2 ? QStringLiteral("DECIMAL") : QStringLiteral("NUMERIC"))
            .arg(precision)
            .arg(-scale);
    switch (type) {
    case Smallint:
        return QStringLiteral("SMALLINT");
    case Integer:
        return QStringLiteral("INTEGER");
    case Bigint:
        return QStringLiteral("BIGINT");
    case Float:
        return QStringLiteral("FLOAT");
    case Double:
    case DFloat:
        return QStringLiteral("DOUBLE PRECISION");
    case Date:
        return QStringLiteral("DATE");
    case Time:
        return QStringLiteral("TIME");
    case Timestamp:
        return QStringLiteral("TIMESTAMP");
    case Char:
        return QStringLiteral("CHAR(%1)").arg(characters);
    case Varchar:
        return QStringLiteral("VARCHAR(%1)").arg(characters);
    case Cstring:
        return QStringLiteral("CSTRING(%1)").arg(characters);
    case Boolean:
        return QStringLiteral("BOOLEAN");
    case Quad:
        return QStringLiteral("QUAD");
    case Blob:
        return subType == 1 ? QStringLiteral("BLOB SUB_TYPE TEXT")
                            : subType == 0 ? QStringLiteral("BLOB SUB_TYPE BINARY")
                                           : QStringLiteral("BLOB SUB_TYPE %1").arg(subType);
    }
    return QStringLiteral("de tipo %1").arg(type);
}

namespace StoredTables {

namespace {
Kept &keptFor(const QSqlDatabase &db)
{
    const isc_db_handle attachment = Firebird::attachmentOf(db);
    Kept &entry = kept()[db.connectionName()];
    if (entry.attachment != attachment) {
        entry = {attachment, readTables(attachment), {}};
    }
    return entry;
}
} // namespace

const StoredTableMap &of(const QSqlDatabase &db)
{
    return keptFor(db).tables;
}

QVariant fact(const QSqlDatabase &db, const QString &name, const std::function<QVariant()> &read)
{
    Kept &entry = keptFor(db);
    auto found = entry.facts.find(name);
    if (found == entry.facts.end())
        found = entry.facts.insert(name, read());
    return found.value();
}

void forget(const QSqlDatabase &db)
{
    kept().erase(db.connectionName());
}

} // namespace StoredTables

TableRead tableRead(const QString &table, const FieldDefs &defs, const StoredTableMap &stored)
{
    const auto found = stored.constFind(table);
    if (found == stored.cend()) {
        if (addedLater(defs))
            throw DbError(QStringLiteral("A tabela %1 não existe neste banco de dados. Ela é criada quando o programa "
                                         "atualiza o banco de dados ao ser aberto.")
                              .arg(table));
        throw DbError(QStringLiteral("A tabela %1 não existe no banco; o programa espera uma tabela com as colunas "
                                     "%2.\n\n%3")
                          .arg(table, columnList(defs), kNotOpened));
    }
    TableRead read;
    QStringList items, faults;
    for (int c = 0; c < defs.size(); ++c) {
        const FieldDef &def = defs[c];
        const StoredColumn *column = findColumn(*found, def.name);
        if (!column && def.level > 0) {
            read.absent.insert(c);
            items << emptyItem(def);
        } else if (!column) {
            faults << QStringLiteral("A coluna %1 da tabela %2 não existe no banco; o programa espera %3.")
                          .arg(def.name, table, sqlTypeOf(def));
        } else if (!fits(def, *column)) {
            faults << QStringLiteral("A coluna %1 da tabela %2 é %3 no banco; o programa espera %4.")
                          .arg(def.name, table, column->typeName(), sqlTypeOf(def));
        } else {
            items << selectItem(def, *column);
        }
    }
    if (!faults.isEmpty())
        throw DbError(faults.join(u'\n') + QStringLiteral("\n\n") + kNotOpened);
    read.selectList = items.join(u',');
    return read;
}
