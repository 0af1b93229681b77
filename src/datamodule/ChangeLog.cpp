#include "ChangeLog.h"

#include "Schema.h"
#include "Statements.h"
#include "UDM.h"
#include "provider/EngineErrors.h"
#include "provider/StoredTables.h"

#include <QSysInfo>

namespace ChangeLog {

namespace {

// Widths of the log's texts, in characters (UTF-8). The details are a text
// blob: a VARCHAR wide enough for any row's details would make every line
// of the log, and so every write, cost several times more. What a save
// costs more is the pages its commit writes besides its own (each written
// to the disk at once): the log's page and the sequence's. So the log has
// no index: the trigger that numbers each line from the sequence, whatever
// a writer says, keeps the code unique, and the log is read a filter at a
// time by a person (a record's history from 170,000 lines in 0.2 s here).
constexpr int kNameWidth = 60;
constexpr int kDetailsWidth = 8191; // the details a trigger gathers, the longest UTF-8 VARCHAR

const QString kAccountVariable = QStringLiteral("KELMARA_CONTA");
const QString kWorkstationVariable = QStringLiteral("KELMARA_ESTACAO");

// Columns whose values never reach the log, only that they changed.
bool isPassword(const QString &column)
{
    return column == QLatin1String("USUSENHA") || column == QLatin1String("USUHASH");
}

QString quoted(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// A column's value on the row `row` (OLD or NEW) as the details write it;
// an empty value reads "(vazio)".
QString shownValue(const FieldDef &def, const QString &row)
{
    const QString ref = row + u'.' + def.name;
    QString text;
    switch (def.type) {
    case FieldType::Text:
        text = ref;
        break;
    case FieldType::Integer:
        text = QStringLiteral("CAST(%1 AS VARCHAR(11))").arg(ref);
        break;
    case FieldType::Money: // "1234,50"; a value too large for cents as the engine writes it
        text = QStringLiteral("CASE WHEN ABS(%1) < 1e15 THEN REPLACE(CAST(CAST(%1 AS NUMERIC(18,2)) AS VARCHAR(21)), "
                              "'.', ',') ELSE CAST(%1 AS VARCHAR(30)) END")
                   .arg(ref);
        break;
    case FieldType::Date: // "03/05/2011"
        text = QStringLiteral("LPAD(EXTRACT(DAY FROM %1), 2, '0') || '/' || LPAD(EXTRACT(MONTH FROM %1), 2, '0') || "
                              "'/' || EXTRACT(YEAR FROM %1)")
                   .arg(ref);
        break;
    case FieldType::Blob:
        return QStringLiteral("'(fotografia)'");
    }
    if (isPassword(def.name))
        return QStringLiteral("'(senha)'");
    return QStringLiteral("COALESCE(%1, '(vazio)')").arg(text);
}

// One piece of the details, appended to V after "; ".
QString appended(const QString &condition, const QString &column, const QString &value)
{
    return QStringLiteral("    IF (%1) THEN V = V || '; %2: ' || %3;\n").arg(condition, column, value);
}

// "COLUNA: valor" for every column that has one, but the code (the log's row).
QString valuesOf(const FieldDefs &columns, const QString &row)
{
    QString pieces;
    for (const FieldDef &def : columns)
        if (!def.required)
            pieces += appended(QStringLiteral("%1.%2 IS NOT NULL").arg(row, def.name), def.name, shownValue(def, row));
    return pieces;
}

// "COLUNA: antes → depois" for every column that changed (an amount by a
// cent at least); a photograph or password only that it changed; the reason
// of a book's reopening leads the details instead (kReopeningReason).
QString changesOf(const FieldDefs &columns)
{
    QString pieces;
    for (const FieldDef &def : columns) {
        if (def.name == QLatin1String("LIVREABERTURA"))
            continue;
        const QString before = shownValue(def, QStringLiteral("OLD")), after = shownValue(def, QStringLiteral("NEW"));
        const QString changed = def.type == FieldType::Money
                                    ? QStringLiteral("%1 IS DISTINCT FROM %2").arg(before, after)
                                    : QStringLiteral("OLD.%1 IS DISTINCT FROM NEW.%1").arg(def.name);
        const QString value = def.type == FieldType::Blob ? QStringLiteral("'fotografia alterada'")
                              : isPassword(def.name)      ? QStringLiteral("'senha alterada'")
                                                          : before + QStringLiteral(" || ' → ' || ") + after;
        pieces += appended(changed, def.name, value);
    }
    return pieces;
}

// What a change of a book is: its closing, its reopening (with the reason,
// first in the details) or a plain change.
const QString kBookOperation = QStringLiteral(
    "TRIM(CASE WHEN OLD.LIVFECHADOEM IS NULL AND NEW.LIVFECHADOEM IS NOT NULL THEN '%1' "
    "WHEN OLD.LIVFECHADOEM IS NOT NULL AND NEW.LIVFECHADOEM IS NULL THEN '%2' ELSE '%3' END)"); // not blank-padded
const QString kReopeningReason = QStringLiteral(
    "    IF (OLD.LIVFECHADOEM IS NOT NULL AND NEW.LIVFECHADOEM IS NULL) THEN "
    "V = '; Motivo: ' || COALESCE(NEW.LIVREABERTURA, '') || V;\n");

QString logRow(const TableDef &t, const QString &row, const QString &operation)
{
    return QStringLiteral("    INSERT INTO TALTERACOES (ALTTABELA, ALTREGISTRO, ALTOPERACAO, ALTDETALHES) "
                          "VALUES ('%1', %2.%3, %4, SUBSTRING(:V FROM 3));\n")
        .arg(t.table, row, t.columns.first().name, operation);
}

// The trigger that logs every row written to `t`, with its columns of `level`.
SchemaLevels::SchemaObject logTrigger(const TableDef &t, int level)
{
    FieldDefs columns;
    for (const FieldDef &def : t.columns)
        if (def.level <= level)
            columns << def;
    const bool book = t.stem == QLatin1String("LIVRO");
    const QString updateOperation = book ? kBookOperation.arg(Operation::Close, Operation::Reopen, Operation::Update)
                                         : quoted(Operation::Update);
    const QString name = t.table + QStringLiteral("_HISTORICO");
    const QString body =
        QStringLiteral("CREATE TRIGGER %1 FOR %2 ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 32000 AS\n"
                       "DECLARE V VARCHAR(%3) CHARACTER SET UTF8 = '';\n"
                       "BEGIN\n"
                       "  IF (INSERTING) THEN BEGIN\n%4%5  END ELSE IF (UPDATING) THEN BEGIN\n%6%7"
                       "    IF (V <> '') THEN\n%8  END ELSE BEGIN\n%9%10  END\n"
                       "END")
            .arg(name, t.table)
            .arg(kDetailsWidth)
            .arg(valuesOf(columns, QStringLiteral("NEW")), logRow(t, QStringLiteral("NEW"), quoted(Operation::Insert)),
                 changesOf(columns), book ? kReopeningReason : QString(),
                 logRow(t, QStringLiteral("NEW"), updateOperation), valuesOf(columns, QStringLiteral("OLD")),
                 logRow(t, QStringLiteral("OLD"), quoted(Operation::Delete)));
    return {QStringLiteral("TRIGGER"), name, body};
}

// No line of the log is changed or deleted. From the anonymisation's level
// on, one change is let through: the details of a line, every other column
// as it was, in a transaction that named (kAnonymisationVariable) a member
// who is anonymised; so the old values of that member leave the log and the
// line stays, with who did what and when.
SchemaLevels::SchemaObject protection(int level)
{
    const QString refusal = QStringLiteral("  EXCEPTION %1 'O histórico de alterações não pode ser alterado nem apagado: "
                                           "ele guarda quem fez cada alteração e quando.';\n")
                                .arg(QString::fromLatin1(kRuleRefusal));
    QString allowed;
    if (level >= kAnonymisationLevel) {
        QStringList same;
        for (const char *column : {"ALTCODIGO", "ALTDATAHORA", "ALTCONTA", "ALTESTACAO", "ALTUSUARIOBANCO", "ALTTABELA",
                                   "ALTREGISTRO", "ALTOPERACAO"})
            same << QStringLiteral("NEW.%1 IS NOT DISTINCT FROM OLD.%1").arg(QLatin1String(column));
        allowed = QStringLiteral("  IF (UPDATING AND %1 AND EXISTS (SELECT 1 FROM TMEMBRO WHERE MEMCODIGO = "
                                 "RDB$GET_CONTEXT('USER_TRANSACTION', '%2') AND MEMANONIMIZADOEM IS NOT NULL)) THEN\n"
                                 "    EXIT;\n")
                      .arg(same.join(QStringLiteral(" AND ")), kAnonymisationVariable);
    }
    return {QStringLiteral("TRIGGER"), QStringLiteral("TALTERACOES_PROTECAO"),
            QStringLiteral("CREATE TRIGGER TALTERACOES_PROTECAO FOR TALTERACOES ACTIVE BEFORE UPDATE OR DELETE "
                           "POSITION 0 AS\nBEGIN\n%1%2END")
                .arg(allowed, refusal)};
}

QString utf8Text(int width)
{
    return QStringLiteral("VARCHAR(%1) CHARACTER SET UTF8").arg(width);
}

QList<SchemaLevels::SchemaObject> logItself(int level)
{
    const QString text = utf8Text(kNameWidth);
    return {
        {QStringLiteral("TABLE"), kTable,
         QStringLiteral("CREATE TABLE TALTERACOES (ALTCODIGO INTEGER NOT NULL, ALTDATAHORA TIMESTAMP NOT NULL, "
                        "ALTCONTA %1, ALTESTACAO %1, ALTUSUARIOBANCO %1, ALTTABELA %1 NOT NULL, ALTREGISTRO INTEGER, "
                        "ALTOPERACAO %1 NOT NULL, ALTDETALHES BLOB SUB_TYPE TEXT CHARACTER SET UTF8)")
             .arg(text)},
        {QStringLiteral("SEQUENCE"), QStringLiteral("GEN_TALTERACOES"), QStringLiteral("CREATE SEQUENCE GEN_TALTERACOES")},
        {QStringLiteral("EXCEPTION"), QString::fromLatin1(kRuleRefusal),
         QStringLiteral("CREATE EXCEPTION %1 'Recusado pelas regras do banco de dados do Kelmara.'")
             .arg(QString::fromLatin1(kRuleRefusal))},
        // Number, time and database user from the engine; who and where from the session, when the program told it.
        {QStringLiteral("TRIGGER"), QStringLiteral("TALTERACOES_INCLUSAO"),
         QStringLiteral("CREATE TRIGGER TALTERACOES_INCLUSAO FOR TALTERACOES ACTIVE BEFORE INSERT POSITION 0 AS\n"
                        "BEGIN\n"
                        "  NEW.ALTCODIGO = NEXT VALUE FOR GEN_TALTERACOES;\n"
                        "  NEW.ALTDATAHORA = CURRENT_TIMESTAMP;\n"
                        "  NEW.ALTUSUARIOBANCO = CURRENT_USER;\n"
                        "  IF (NEW.ALTCONTA IS NULL) THEN\n"
                        "    NEW.ALTCONTA = COALESCE(RDB$GET_CONTEXT('USER_SESSION', '%1'), %3);\n"
                        "  IF (NEW.ALTESTACAO IS NULL) THEN\n"
                        "    NEW.ALTESTACAO = COALESCE(RDB$GET_CONTEXT('USER_SESSION', '%2'), "
                        "RDB$GET_CONTEXT('SYSTEM', 'CLIENT_HOST'), RDB$GET_CONTEXT('SYSTEM', 'CLIENT_ADDRESS'));\n"
                        "END")
             .arg(kAccountVariable, kWorkstationVariable, quoted(kOutsideProgram))},
        protection(level),
    };
}

QString clipped(const QString &text)
{
    return text.left(kNameWidth);
}

} // namespace

// As the connection's description of the tables has it: no round trip once
// the tables are described.
bool available()
{
    return DM && StoredTables::of(DM->SQLConnection1()).contains(kTable);
}

void tellSession(const QSqlDatabase &db, const QString &account, const QString &workstation)
{
    // The engine works out a select's values as the row is fetched.
    Statements::run(db,
                    QStringLiteral("SELECT RDB$SET_CONTEXT('USER_SESSION', '%1', CAST(? AS %3)), "
                                   "RDB$SET_CONTEXT('USER_SESSION', '%2', CAST(? AS %3)) FROM RDB$DATABASE")
                        .arg(kAccountVariable, kWorkstationVariable, utf8Text(kNameWidth)),
                    {clipped(account), clipped(workstation)})
        .next();
}

QString workstationName()
{
    return QSysInfo::machineHostName();
}

void recordSignIn(const QSqlDatabase &db, const QString &userName, const QVariant &accountCode, bool accepted,
                  const QString &why)
{
    if (!available())
        return;
    try {
        Statements::run(db,
                        QStringLiteral("INSERT INTO TALTERACOES (ALTCONTA, ALTESTACAO, ALTTABELA, ALTREGISTRO, "
                                       "ALTOPERACAO, ALTDETALHES) VALUES (?, ?, 'TUSUARIO', ?, ?, ?)"),
                        {clipped(userName), clipped(workstationName()),
                         accountCode.isNull() ? QVariant(QMetaType::fromType<int>()) : accountCode,
                         accepted ? Operation::SignIn : Operation::SignInRefused,
                         why.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(why)});
    } catch (const DbError &) {
        // A database that takes no writes (read-only, a copy being looked at)
        // logs nothing; the sign-in goes on, as nothing can be changed in it.
    }
}

QList<Entry> read(const QSqlDatabase &db, const Filter &filter)
{
    QStringList terms;
    QVariantList values;
    const auto where = [&](const QString &term, const QVariant &value) {
        terms << term;
        values << value;
    };
    if (filter.from.isValid())
        where(QStringLiteral("ALTDATAHORA >= ?"), QDateTime(filter.from, QTime(0, 0)));
    if (filter.to.isValid())
        where(QStringLiteral("ALTDATAHORA < ?"), QDateTime(filter.to.addDays(1), QTime(0, 0)));
    if (!filter.account.isEmpty())
        where(QStringLiteral("ALTCONTA = ?"), filter.account);
    if (!filter.table.isEmpty())
        where(QStringLiteral("ALTTABELA = ?"), filter.table);
    if (!filter.row.isNull())
        where(QStringLiteral("ALTREGISTRO = ?"), filter.row.toInt());
    return readWhere(db, terms.join(QStringLiteral(" AND ")), values);
}

QList<Entry> readWhere(const QSqlDatabase &db, const QString &condition, const QVariantList &values)
{
    QSqlQuery q = Statements::run(
        db,
        QStringLiteral("SELECT FIRST %1 ALTCODIGO, ALTDATAHORA, ALTCONTA, ALTESTACAO, ALTUSUARIOBANCO, ALTTABELA, "
                       "ALTREGISTRO, ALTOPERACAO, ALTDETALHES FROM TALTERACOES %2 ORDER BY ALTCODIGO DESC")
            .arg(kMostRead)
            .arg(condition.isEmpty() ? QString() : QStringLiteral("WHERE ") + condition),
        values);
    QList<Entry> entries;
    while (q.next())
        entries.append({q.value(0).toInt(), q.value(1).toDateTime(), q.value(2).toString(), q.value(3).toString(),
                        q.value(4).toString(), q.value(5).toString(), q.value(6), q.value(7).toString(),
                        QString::fromUtf8(q.value(8).toByteArray())}); // the driver hands a text blob as its bytes
    return entries;
}

const QList<Register> &registers()
{
    static const QList<Register> all{
        {QStringLiteral("TMEMBRO"), QStringLiteral("Membros")},
        {QStringLiteral("TFUNCIONARIO"), QStringLiteral("Funcionários")},
        {QStringLiteral("TCARGO"), QStringLiteral("Cargos")},
        {QStringLiteral("TEVENTO"), QStringLiteral("Eventos")},
        {QStringLiteral("TLIVRO"), QStringLiteral("Livros")},
        {QStringLiteral("TMOVIMETACOES"), QStringLiteral("Movimentações")},
        {QStringLiteral("TCATEGORIA"), QStringLiteral("Categorias")},
        {QStringLiteral("TROL"), QStringLiteral("Rol de Membros")},
        {QStringLiteral("TDOCUMENTO"), QStringLiteral("Documentos")},
        {QStringLiteral("TMODELO"), QStringLiteral("Modelos de Documentos")},
        {QStringLiteral("TEXTRATO"), QStringLiteral("Extrato Bancário")},
        {QStringLiteral("TPARAMETROS"), QStringLiteral("Parâmetros")},
        {QStringLiteral("TUSUARIO"), QStringLiteral("Usuários")},
    };
    return all;
}

QString captionOf(const QString &table)
{
    for (const Register &r : registers())
        if (r.table == table)
            return r.caption;
    return table;
}

QList<SchemaLevels::SchemaObject> schemaObjects(int level)
{
    QList<SchemaLevels::SchemaObject> objects = logItself(level);
    for (const TableDef &t : Schema::tables())
        if (t.columns.first().level <= level)
            objects << logTrigger(t, level);
    return objects;
}

} // namespace ChangeLog
