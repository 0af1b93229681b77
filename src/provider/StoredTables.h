#pragma once

#include "dataset/FieldDef.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

// The SQL type the program gives a column, as the database is created with it
// and as messages name it: "INTEGER", "DOUBLE PRECISION", "DATE",
// "BLOB SUB_TYPE BINARY", "VARCHAR(50)".
QString sqlTypeOf(const FieldDef &def);
// The column in CREATE TABLE or ALTER TABLE ADD: its type, WIN1252 for a text,
// the primary key for the code.
QString columnDefinition(const FieldDef &def);

// A column as the database describes it (RDB$FIELDS).
struct StoredColumn
{
    QString name;
    short type = 0; // RDB$FIELD_TYPE: 7 SMALLINT, 8 INTEGER, 16 BIGINT, 37 VARCHAR...
    short subType = 0;
    short scale = 0;
    short precision = 0;
    int characters = 0; // texts
    short characterSet = 0;

    QString typeName() const; // "VARCHAR(12)", "NUMERIC(15,2)", "TIME"
};
using StoredTable = QVector<StoredColumn>;
using StoredTableMap = QHash<QString, StoredTable>;

namespace StoredTables {

// The user tables of the database and their columns, read in one statement
// the first time they are asked for on a connection and kept for it.
const StoredTableMap &of(const QSqlDatabase &db);
// Read them again next time: after the structure was changed (an upgrade) or
// the connection closed.
void forget(const QSqlDatabase &db);
// A value about the structure (its level), read by `read` the first time and
// then kept with the description, until forget.
QVariant fact(const QSqlDatabase &db, const QString &name, const std::function<QVariant()> &read);

} // namespace StoredTables

// How one of the program's tables is read from the table the database has.
struct TableRead
{
    QString selectList; // the program's columns in order
    QSet<int> absent;   // columns of a later level the database lacks: read as empty, never written
};

// The program's columns `defs` compared with the stored table: a missing
// table or column, or a column of a type the program cannot read and write as
// its own, is a DbError that names the table, the column, what the database
// has and what the program expects. Extra columns are left alone; a column
// of a later level that the database lacks is read as empty.
TableRead tableRead(const QString &table, const FieldDefs &defs, const StoredTableMap &stored);
