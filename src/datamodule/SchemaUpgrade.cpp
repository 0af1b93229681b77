#include "SchemaUpgrade.h"

#include "ParameterCodes.h"
#include "Schema.h"
#include "Statements.h"
#include "provider/EngineErrors.h"
#include "provider/StoredTables.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <QScopeGuard>

#include <optional>

namespace SchemaUpgrade {

namespace {

using Statements::anyRow;
using Statements::run;

// What a level adds: a whole table (its code column came with the level,
// `column` is null) or one column of an older table. Read from the schema,
// where each column says the level that added it; tables first.
struct Addition
{
    const TableDef *table;
    const FieldDef *column;
};

QList<Addition> additionsUpTo(int level)
{
    QList<Addition> tables, columns;
    for (const TableDef &t : Schema::tables()) {
        const int tableLevel = t.columns.first().level;
        if (tableLevel > 0 && tableLevel <= level)
            tables.append({&t, nullptr});
        for (const FieldDef &def : t.columns)
            if (def.level > tableLevel && def.level <= level)
                columns.append({&t, &def});
    }
    return tables + columns;
}

const char *const kLevelDescription = "Nível da estrutura do banco de dados (gravado pelo programa; não altere)";

// A missing piece: the statement that adds it and the one that takes it away.
struct Piece
{
    QString name;
    QString add;
    QString drop;
    QString objectKind; // an object of the engine (SchemaLevels::SchemaObject); empty for tables and columns
};

// The database's structure as described once per connection (StoredTables).
bool tableExists(const QSqlDatabase &db, const QString &table)
{
    return StoredTables::of(db).contains(table);
}

bool columnExists(const QSqlDatabase &db, const QString &table, const QString &column)
{
    for (const StoredColumn &c : StoredTables::of(db).value(table))
        if (c.name == column)
            return true;
    return false;
}

// The names of the engine's objects of the database that the program may
// have created, of every kind, read in one statement.
QSet<QString> storedObjects(const QSqlDatabase &db)
{
    QSqlQuery q = run(db, QStringLiteral(
        "SELECT TRIM(RDB$TRIGGER_NAME) FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
        "UNION ALL SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
        "UNION ALL SELECT TRIM(RDB$EXCEPTION_NAME) FROM RDB$EXCEPTIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
        "UNION ALL SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
        "UNION ALL SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"));
    QSet<QString> names;
    while (q.next())
        names.insert(q.value(0).toString());
    return names;
}

// The objects of the levels up to `level`, each as a database brought to
// `level` has it, in creation order.
QList<SchemaLevels::SchemaObject> objectsAt(int level)
{
    QList<SchemaLevels::SchemaObject> objects;
    for (const SchemaLevels::Level &l : SchemaLevels::kLevels)
        if (l.number <= level && l.objects)
            objects += l.objects(level);
    return objects;
}

// The objects of the levels up to `level` that the database lacks.
QList<Piece> missingObjects(const QSqlDatabase &db, int level)
{
    const QList<SchemaLevels::SchemaObject> objects = objectsAt(level);
    if (objects.isEmpty())
        return {};
    const QSet<QString> stored = storedObjects(db);
    QList<Piece> pieces;
    for (const SchemaLevels::SchemaObject &o : objects)
        if (!stored.contains(o.name))
            pieces.append({o.name, o.create, QStringLiteral("DROP %1 %2").arg(o.kind, o.name), o.kind});
    return pieces;
}

// A trigger's creation as the statement that creates it or replaces it.
QString createOrAlter(const QString &create)
{
    static const QString kCreate = QStringLiteral("CREATE ");
    Q_ASSERT(create.startsWith(kCreate));
    return QStringLiteral("CREATE OR ALTER ") + create.mid(kCreate.size());
}

// The triggers a database at `from` has whose text differs at `to` (the
// change log's trigger of a table that gains columns logs them too): each
// replaced by the new text, and back by the old one when the upgrade fails.
// The triggers whose text stays are left alone.
QList<Piece> changedTriggers(const QSqlDatabase &db, int from, int to)
{
    if (from <= 0 || from >= to)
        return {};
    QHash<QString, QString> before;
    for (const SchemaLevels::SchemaObject &o : objectsAt(from))
        before.insert(o.name, o.create);
    const QSet<QString> stored = storedObjects(db);
    QList<Piece> pieces;
    for (const SchemaLevels::SchemaObject &o : objectsAt(to)) {
        const auto old = before.constFind(o.name);
        if (o.kind == QLatin1String("TRIGGER") && old != before.constEnd() && *old != o.create && stored.contains(o.name))
            pieces.append({o.name, createOrAlter(o.create), createOrAlter(*old), o.kind});
    }
    return pieces;
}

// What the database lacks of the levels up to `level`: tables, columns,
// then the objects that use them.
QList<Piece> missingPieces(const QSqlDatabase &db, int level = kLevel)
{
    QList<Piece> pieces;
    for (const Addition &a : additionsUpTo(level)) {
        const TableDef &table = *a.table;
        if (!a.column) {
            if (tableExists(db, table.table))
                continue;
            QStringList columns;
            for (const FieldDef &def : table.columns)
                columns << columnDefinition(def);
            pieces.append({table.table, QStringLiteral("CREATE TABLE %1 (%2)").arg(table.table, columns.join(", ")),
                           QStringLiteral("DROP TABLE ") + table.table});
            continue;
        }
        const FieldDef &column = *a.column;
        if (columnExists(db, table.table, column.name))
            continue;
        pieces.append({table.table + u'.' + column.name,
                       QStringLiteral("ALTER TABLE %1 ADD %2").arg(table.table, columnDefinition(column)),
                       QStringLiteral("ALTER TABLE %1 DROP %2").arg(table.table, column.name)});
    }
    return pieces + missingObjects(db, level);
}

QString stepOf(const Piece &piece)
{
    static const QHash<QString, QString> objectWords{{QStringLiteral("TRIGGER"), QStringLiteral("o gatilho")},
                                                     {QStringLiteral("SEQUENCE"), QStringLiteral("a sequência")},
                                                     {QStringLiteral("EXCEPTION"), QStringLiteral("a recusa")},
                                                     {QStringLiteral("INDEX"), QStringLiteral("o índice")},
                                                     {QStringLiteral("TABLE"), QStringLiteral("a tabela")}};
    if (piece.add.startsWith(QLatin1String("CREATE OR ALTER ")))
        return QStringLiteral("Refazendo %1 %2...").arg(objectWords.value(piece.objectKind), piece.name);
    if (!piece.objectKind.isEmpty())
        return QStringLiteral("Criando %1 %2...").arg(objectWords.value(piece.objectKind), piece.name);
    return piece.name.contains(u'.')
               ? QStringLiteral("Acrescentando a coluna %1...").arg(piece.name.section(u'.', 1))
               : QStringLiteral("Criando a tabela %1...").arg(piece.name);
}

// The parameter row of the level, when there is one: its value.
std::optional<QString> levelRow(const QSqlDatabase &db)
{
    QSqlQuery q = run(db, QStringLiteral("SELECT PARVALOR FROM TPARAMETROS WHERE PARCODIGO = ?"),
                      {ParameterCode::SchemaLevel});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

void writeLevel(const QSqlDatabase &db, int level)
{
    run(db,
        QStringLiteral("UPDATE OR INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR, PAROBSERVACOES) "
                       "VALUES (?, ?, ?) MATCHING (PARCODIGO)"),
        {ParameterCode::SchemaLevel, QString::number(level), QString::fromUtf8(kLevelDescription)});
}

// The engine's refusals to alter the database at all.
bool mayNotAlter(const QString &engineText)
{
    for (const char *known : {"no permission", "read-only", "read only"})
        if (engineText.contains(QLatin1String(known), Qt::CaseInsensitive))
            return true;
    return false;
}

using Statements::Transaction;

QString engineTextOf(const DbError &error)
{
    return error.engineText().isEmpty() ? error.text() : error.engineText();
}

// A failure of bringing the database up to date, said in `message`.
DbError unchanged(const DbError &e, const QString &message)
{
    return DbError(withEngineText(message, engineTextOf(e)), e.reason(), e.engineText());
}

// Drops what the first transaction added, newest first.
bool dropAgain(const QSqlDatabase &db, const QList<Piece> &added)
{
    try {
        Transaction t(db);
        for (auto piece = added.rbegin(); piece != added.rend(); ++piece)
            Statements::execute(db, piece->drop);
        t.commit();
        return true;
    } catch (const DbError &) {
        return false;
    }
}

// One text of each level above `level` (SchemaLevels::Level::brings, brought).
QStringList textsAbove(int level, const char *SchemaLevels::Level::*text)
{
    QStringList texts;
    for (const SchemaLevels::Level &l : SchemaLevels::kLevels)
        if (l.number > level)
            texts << QString::fromUtf8(l.*text);
    return texts;
}

} // namespace

QString bringsAbove(int level)
{
    return textsAbove(level, &SchemaLevels::Level::brings).join(QStringLiteral(", e "));
}

QString broughtAbove(int level)
{
    return textsAbove(level, &SchemaLevels::Level::brought).join(QStringLiteral("\n\n"));
}

bool remakesFileAbove(int level)
{
    for (const SchemaLevels::Level &l : SchemaLevels::kLevels)
        if (l.number > level && l.remakesFile)
            return true;
    return false;
}

QString unchangedNote(int level)
{
    return QStringLiteral("O banco de dados não foi atualizado e continua como estava. O programa funciona sem %1; "
                          "a atualização é tentada de novo quando o programa for aberto outra vez.")
        .arg(bringsAbove(level));
}

// Read once per connection and structure: the level changes only by an upgrade.
int storedLevel(const QSqlDatabase &db)
{
    return StoredTables::fact(db, QStringLiteral("level"), [&db] {
               const std::optional<QString> row = levelRow(db);
               return row ? qMax(0, row->trimmed().toInt()) : 0;
           })
        .toInt();
}

QStringList missing(const QSqlDatabase &db)
{
    QStringList names;
    for (const Piece &piece : missingPieces(db))
        names << piece.name;
    return names;
}

bool addedByUpgrade(const QString &table)
{
    for (const Addition &a : additionsUpTo(kLevel))
        if (!a.column && a.table->table == table)
            return true;
    return false;
}

bool behind(const QSqlDatabase &db)
{
    return storedLevel(db) < kLevel || !missingPieces(db).isEmpty();
}

bool available(const QSqlDatabase &db, int level)
{
    return storedLevel(db) >= level && missingPieces(db, level).isEmpty();
}

QString refusal(const QSqlDatabase &db)
{
    const int level = storedLevel(db);
    if (const std::optional<QString> row = levelRow(db)) {
        bool number = false;
        row->trimmed().toInt(&number);
        if (!number)
            return QStringLiteral("O parâmetro de código %1 guarda \"%2\", mas o programa usa esse código para o "
                                  "nível do banco de dados. Mude o código desse parâmetro em Configurações > "
                                  "Parametros e abra o programa de novo.\n\n")
                       .arg(ParameterCode::SchemaLevel)
                       .arg(*row)
                   + unchangedNote(level);
    }
    try {
        Transaction t(db);
        for (const Piece &piece : missingPieces(db) + changedTriggers(db, level, kLevel))
            Statements::execute(db, piece.add);
        writeLevel(db, kLevel);
        t.rollback();
    } catch (const DbError &e) {
        const QString why = mayNotAlter(engineTextOf(e))
                                ? QStringLiteral("Este banco de dados não pode ser alterado pelo programa: ele está "
                                                 "somente para leitura, ou o usuário com que o programa entra no "
                                                 "servidor não tem permissão para alterar a estrutura. Peça a quem "
                                                 "cuida do servidor que libere a alteração.")
                                : QStringLiteral("O banco de dados não aceitou a atualização.");
        return withEngineText(why + QStringLiteral("\n\n") + unchangedNote(level), engineTextOf(e));
    }
    return {};
}

void bringUpToDate(const QSqlDatabase &db, const Step &beforeStep, int toLevel)
{
    // Whatever happens, the tables are described anew on their next open.
    const auto describeAgain = qScopeGuard([&db] { StoredTables::forget(db); });
    const auto step = [&beforeStep](const QString &text) {
        if (beforeStep)
            beforeStep(text);
    };
    const int level = storedLevel(db);
    const QList<Piece> pieces = missingPieces(db, toLevel);
    if (!pieces.isEmpty()) {
        try {
            Transaction t(db);
            for (const Piece &piece : pieces) {
                step(stepOf(piece));
                Statements::execute(db, piece.add);
            }
            step(QStringLiteral("Gravando a nova estrutura..."));
            t.commit();
        } catch (const DbError &e) {
            throw unchanged(e, unchangedNote(level));
        }
    }
    // The triggers whose text changes are remade after the rows, in their
    // transaction: the rows of a level are written under the triggers the
    // database had (a member made active logs no line), and a failure takes
    // the new texts back with the rows.
    const QList<Piece> remade = changedTriggers(db, level, toLevel);
    try {
        Transaction t(db);
        for (const SchemaLevels::Level &l : SchemaLevels::kLevels) {
            if (l.number <= level || l.number > toLevel)
                continue;
            if (!l.writeRows)
                continue;
            step(QString::fromUtf8(l.rowsStep));
            l.writeRows(db);
        }
        for (const Piece &piece : remade) {
            step(stepOf(piece));
            Statements::execute(db, piece.add);
        }
        step(QStringLiteral("Gravando o nível do banco de dados..."));
        writeLevel(db, qMax(level, toLevel));
        step(QStringLiteral("Concluindo a atualização..."));
        t.commit();
    } catch (const DbError &e) {
        if (dropAgain(db, pieces))
            throw unchanged(e, unchangedNote(level));
        throw unchanged(e, QStringLiteral("O banco de dados não foi atualizado: ele continua no nível anterior, e as "
                                          "tabelas e colunas novas, ainda vazias, ficaram nele sem uso até a próxima "
                                          "atualização. O programa funciona sem %1.")
                               .arg(bringsAbove(level)));
    }
}

} // namespace SchemaUpgrade
