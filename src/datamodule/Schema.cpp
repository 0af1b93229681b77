#include "Schema.h"

#include "SchemaColumns.h"
#include "dataset/DbError.h"

namespace {

// The column kinds of KELMARA_COLUMNS, each a function of the column name.
namespace kind {
FieldDef code(const QString &n) { return {n, FieldType::Integer, 0, true, {}}; }
FieldDef integer(const QString &n) { return {n, FieldType::Integer, 0, false, {}}; }
FieldDef money(const QString &n) { return {n, FieldType::Money, 0, false, {}}; }
FieldDef date(const QString &n) { return {n, FieldType::Date, 0, false, kDateInputMask}; }
FieldDef blob(const QString &n) { return {n, FieldType::Blob, 0, false, {}}; }
FieldDef taxNumber(const QString &n) { return {n, FieldType::Text, 20, false, Schema::kTaxNumberMask}; }
auto text(int width)
{
    return [width](const QString &n) { return FieldDef{n, FieldType::Text, width, false, {}}; };
}
// A column that a later level of the structure added.
template <class Kind>
auto since(int level, Kind kind)
{
    return [level, kind](const QString &n) {
        FieldDef def = kind(n);
        def.level = level;
        return def;
    };
}
} // namespace kind

QVector<TableDef> build()
{
    QVector<TableDef> tables;
#define KELMARA_ADD_TABLE(stem, table) tables.push_back({QStringLiteral(#table), QStringLiteral(#stem), {}});
    KELMARA_TABLES(KELMARA_ADD_TABLE)
#undef KELMARA_ADD_TABLE
    const auto add = [&tables](const QString &stem, const FieldDef &def) {
        for (TableDef &t : tables)
            if (t.stem == stem)
                t.columns.push_back(def);
    };
    using namespace kind;
#define KELMARA_ADD_COLUMN(stem, column, k) add(QStringLiteral(#stem), k(QStringLiteral(#column)));
    KELMARA_COLUMNS(KELMARA_ADD_COLUMN)
#undef KELMARA_ADD_COLUMN
    return tables;
}

} // namespace

namespace Schema {

const QVector<TableDef> &tables()
{
    static const QVector<TableDef> all = build();
    return all;
}

const TableDef &table(const QString &stem)
{
    for (const TableDef &t : tables())
        if (t.stem == stem)
            return t;
    throw DbError(QStringLiteral("Tabela desconhecida: %1").arg(stem));
}

} // namespace Schema
