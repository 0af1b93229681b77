#include "SchemaUpgrade.h"

#include "ParameterCodes.h"
#include "Schema.h"
#include "provider/EngineErrors.h"
#include "provider/StoredTables.h"

#include <QSqlError>
#include <QSqlQuery>

#include <QScopeGuard>

#include <optional>

namespace SchemaUpgrade {

namespace {

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

struct StartingCategory
{
    const char *description; // UTF-8
    const char *kind;
};
constexpr StartingCategory kStartingCategories[] = {
    {"DÍZIMOS", "ENTRADA"},
    {"OFERTAS", "ENTRADA"},
    {"OFERTAS DE MISSÕES", "ENTRADA"},
    {"CAMPANHAS E OFERTAS ESPECIAIS", "ENTRADA"},
    {"DOAÇÕES", "ENTRADA"},
    {"OUTRAS ENTRADAS", "ENTRADA"},
    {"SALÁRIOS E PREBENDAS", "SAIDA"},
    {"ENERGIA ELÉTRICA", "SAIDA"},
    {"ÁGUA E ESGOTO", "SAIDA"},
    {"ALUGUEL", "SAIDA"},
    {"TELEFONE E INTERNET", "SAIDA"},
    {"MANUTENÇÃO E LIMPEZA", "SAIDA"},
    {"MISSÕES", "SAIDA"},
    {"AÇÃO SOCIAL", "SAIDA"},
    {"OUTRAS SAÍDAS", "SAIDA"},
};

const char *const kLevelDescription = "Nível da estrutura do banco de dados (gravado pelo programa; não altere)";

// A missing piece: the statement that adds it and the one that takes it away.
struct Piece
{
    QString name;
    QString add;
    QString drop;
};

[[noreturn]] void fail(const QSqlQuery &q)
{
    throw dbErrorFrom(q.lastError());
}

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        fail(q);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        fail(q);
    return q;
}

bool anyRow(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q = run(db, sql, values);
    return q.next();
}

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

QList<Piece> missingPieces(const QSqlDatabase &db)
{
    QList<Piece> pieces;
    for (const Addition &a : additionsUpTo(kLevel)) {
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
    return pieces;
}

QString stepOf(const Piece &piece)
{
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

void writeLevel(const QSqlDatabase &db)
{
    run(db,
        QStringLiteral("UPDATE OR INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR, PAROBSERVACOES) "
                       "VALUES (?, ?, ?) MATCHING (PARCODIGO)"),
        {ParameterCode::SchemaLevel, QString::number(kLevel), QString::fromUtf8(kLevelDescription)});
}

void writeStartingCategories(const QSqlDatabase &db)
{
    if (anyRow(db, QStringLiteral("SELECT FIRST 1 1 FROM TCATEGORIA"), {}))
        return; // categories of the users' own, kept as they are
    int code = 0;
    for (const StartingCategory &c : kStartingCategories)
        run(db, QStringLiteral("INSERT INTO TCATEGORIA (CATCODIGO, CATDESCRICAO, CATTIPO) VALUES (?, ?, ?)"),
            {++code, QString::fromUtf8(c.description), QString::fromLatin1(c.kind)});
}

// The engine's refusals to alter the database at all.
bool mayNotAlter(const QString &engineText)
{
    for (const char *known : {"no permission", "read-only", "read only"})
        if (engineText.contains(QLatin1String(known), Qt::CaseInsensitive))
            return true;
    return false;
}

class Transaction
{
public:
    explicit Transaction(QSqlDatabase db) : m_db(std::move(db))
    {
        if (!m_db.transaction())
            throw dbErrorFrom(m_db.lastError());
    }
    ~Transaction()
    {
        if (m_open)
            m_db.rollback();
    }
    void commit()
    {
        m_open = false;
        if (!m_db.commit()) {
            const DbError failure = dbErrorFrom(m_db.lastError());
            m_db.rollback();
            throw failure;
        }
    }
    void rollback()
    {
        m_open = false;
        m_db.rollback();
    }

private:
    QSqlDatabase m_db;
    bool m_open = true;
};

const QString kUnchanged = QStringLiteral("O banco de dados não foi atualizado e continua como estava. O programa "
                                          "funciona sem as categorias do caixa e os dízimos por membro; a "
                                          "atualização é tentada de novo quando o programa for aberto outra vez.");

QString engineTextOf(const DbError &error)
{
    return error.engineText().isEmpty() ? error.text() : error.engineText();
}

// Drops what the first transaction added, newest first.
bool dropAgain(const QSqlDatabase &db, const QList<Piece> &added)
{
    try {
        Transaction t(db);
        for (auto piece = added.rbegin(); piece != added.rend(); ++piece)
            run(db, piece->drop);
        t.commit();
        return true;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace

QString unchangedNote()
{
    return kUnchanged;
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

bool categoriesAvailable(const QSqlDatabase &db)
{
    return storedLevel(db) >= 1 && missingPieces(db).isEmpty();
}

QString refusal(const QSqlDatabase &db)
{
    if (const std::optional<QString> row = levelRow(db)) {
        bool number = false;
        row->trimmed().toInt(&number);
        if (!number)
            return QStringLiteral("O parâmetro de código %1 guarda \"%2\", mas o programa usa esse código para o "
                                  "nível do banco de dados. Mude o código desse parâmetro em Configurações > "
                                  "Parametros e abra o programa de novo.\n\n")
                       .arg(ParameterCode::SchemaLevel)
                       .arg(*row)
                   + kUnchanged;
    }
    try {
        Transaction t(db);
        for (const Piece &piece : missingPieces(db))
            run(db, piece.add);
        writeLevel(db);
        t.rollback();
    } catch (const DbError &e) {
        const QString why = mayNotAlter(engineTextOf(e))
                                ? QStringLiteral("Este banco de dados não pode ser alterado pelo programa: ele está "
                                                 "somente para leitura, ou o usuário com que o programa entra no "
                                                 "servidor não tem permissão para alterar a estrutura. Peça a quem "
                                                 "cuida do servidor que libere a alteração.")
                                : QStringLiteral("O banco de dados não aceitou a atualização.");
        return withEngineText(why + QStringLiteral("\n\n") + kUnchanged, engineTextOf(e));
    }
    return {};
}

void bringUpToDate(const QSqlDatabase &db, const Step &beforeStep)
{
    // Whatever happens, the tables are described anew on their next open.
    const auto describeAgain = qScopeGuard([&db] { StoredTables::forget(db); });
    const auto step = [&beforeStep](const QString &text) {
        if (beforeStep)
            beforeStep(text);
    };
    const QList<Piece> pieces = missingPieces(db);
    if (!pieces.isEmpty()) {
        try {
            Transaction t(db);
            for (const Piece &piece : pieces) {
                step(stepOf(piece));
                run(db, piece.add);
            }
            step(QStringLiteral("Gravando a nova estrutura..."));
            t.commit();
        } catch (const DbError &e) {
            throw DbError(withEngineText(kUnchanged, engineTextOf(e)), e.reason(), e.engineText());
        }
    }
    try {
        Transaction t(db);
        step(QStringLiteral("Gravando as categorias iniciais..."));
        writeStartingCategories(db);
        step(QStringLiteral("Gravando o nível do banco de dados..."));
        writeLevel(db);
        step(QStringLiteral("Concluindo a atualização..."));
        t.commit();
    } catch (const DbError &e) {
        if (dropAgain(db, pieces))
            throw DbError(withEngineText(kUnchanged, engineTextOf(e)), e.reason(), e.engineText());
        throw DbError(withEngineText(QStringLiteral("O banco de dados não foi atualizado: ele continua no nível "
                                                    "anterior, e a tabela e as colunas novas, ainda vazias, ficaram "
                                                    "nele sem uso até a próxima atualização. O programa funciona "
                                                    "sem as categorias do caixa e os dízimos por membro."),
                                     engineTextOf(e)),
                      e.reason(), e.engineText());
    }
}

} // namespace SchemaUpgrade
