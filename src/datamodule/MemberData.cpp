#include "MemberData.h"

#include "ChangeLog.h"
#include "Documents.h"
#include "Schema.h"
#include "SchemaUpgrade.h"
#include "Statements.h"
#include "UDM.h"
#include "provider/StoredTables.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace MemberData {

namespace {

// The rows of other tables that belong to a member: the table, its code
// column, its column of the member and the texts that anonymisation cleans
// of the member's values (a movement is the church's accounts: its
// description stays as it was written).
struct Owned
{
    const char *table, *code, *member;
    QStringList texts;
};
const QList<Owned> &owned()
{
    static const QList<Owned> rows{
        {"TROL", "ROLCODIGO", "ROLMEMBRO", {"ROLDESCRICAO", "ROLREFERENCIA", "ROLOBSERVACAO"}},
        {"TDOCUMENTO", "DOCCODIGO", "DOCMEMBRO", {"DOCDETALHES"}},
        {"TMOVIMETACOES", "MOVCODIGO", "MOVMEMBRO", {}},
    };
    return rows;
}

bool stored(const QSqlDatabase &db, const char *table)
{
    return StoredTables::of(db).contains(QString::fromLatin1(table));
}

// The log's lines about the member's row and the rows of other tables
// that belong to the member; `values` gets the member once per placeholder.
QString aboutMember(const QSqlDatabase &db, int member, QVariantList &values)
{
    QStringList terms{QStringLiteral("(ALTTABELA = 'TMEMBRO' AND ALTREGISTRO = ?)")};
    values << member;
    for (const Owned &o : owned()) {
        if (!stored(db, o.table))
            continue;
        terms << QStringLiteral("(ALTTABELA = '%1' AND ALTREGISTRO IN (SELECT %2 FROM %1 WHERE %3 = ?))")
                     .arg(QLatin1String(o.table), QLatin1String(o.code), QLatin1String(o.member));
        values << member;
    }
    return u'(' + terms.join(QStringLiteral(" OR ")) + u')';
}

void writeDetails(const QSqlDatabase &db, int line, const QString &details)
{
    Statements::run(db, QStringLiteral("UPDATE TALTERACOES SET ALTDETALHES = ? WHERE ALTCODIGO = ?"),
                    {details.toUtf8(), line});
}

// The values of the member that anonymisation erases, as they may have
// been typed into other texts (a name in a note); the short ones (a state,
// a number of a few digits) would match too much.
QStringList personalValues(const QSqlDatabase &db, int member)
{
    QSqlQuery q = Statements::run(db, QStringLiteral("SELECT * FROM TMEMBRO WHERE MEMCODIGO = ?"), {member});
    QStringList values;
    if (!q.next())
        return values;
    for (const QString &column : erasedColumns()) {
        const QString value = q.record().contains(column) ? q.value(column).toString().trimmed() : QString();
        if (value.size() >= 5 && column != QLatin1String("MEMFOTO") && column != QLatin1String("MEMDATANASC"))
            values << value;
    }
    std::sort(values.begin(), values.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return values; // the longest first: a whole name before a part of it
}

QString withoutValues(QString text, const QStringList &values, const QString &name)
{
    for (const QString &value : values)
        text.replace(value, name, Qt::CaseInsensitive);
    return text;
}

void cleanTexts(const QSqlDatabase &db, const Owned &o, int member, const QStringList &values, const QString &name)
{
    const QString table = QString::fromLatin1(o.table), code = QString::fromLatin1(o.code);
    QSqlQuery q = Statements::run(db, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                                          .arg(code, o.texts.join(QStringLiteral(", ")), table, QLatin1String(o.member)),
                                  {member});
    QList<QVariantList> changed; // the new texts, then the row's code
    while (q.next()) {
        QVariantList texts;
        bool differs = false;
        for (int c = 0; c < o.texts.size(); ++c) {
            const QString before = q.value(c + 1).toString();
            const QString after = withoutValues(before, values, name);
            texts << after;
            differs = differs || after != before;
        }
        if (differs)
            changed.append(texts << q.value(0));
    }
    QStringList sets;
    for (const QString &column : o.texts)
        sets << column + QStringLiteral(" = NULLIF(?, '')");
    for (const QVariantList &row : changed)
        Statements::run(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(table, sets.join(QStringLiteral(", ")), code),
                        row);
}

// The texts of the member's own rows without the member's values. Their
// triggers log the change with the old text, which the log's cleaning then
// takes out too.
void cleanOwnedTexts(const QSqlDatabase &db, int member, const QStringList &values, const QString &name)
{
    for (const Owned &o : owned())
        if (!o.texts.isEmpty() && stored(db, o.table))
            cleanTexts(db, o, member, values, name);
}

// The details of a line about the member's row keep which columns it
// wrote, not their values; the lines about the member's other rows lose
// the member's values.
void cleanLog(const QSqlDatabase &db, int member, const QStringList &values, const QString &name)
{
    static const QRegularExpression column(QStringLiteral("(?:^|; )(MEM[A-Z]+): "));
    QVariantList bound;
    const QString condition = aboutMember(db, member, bound);
    for (const ChangeLog::Entry &e : ChangeLog::readWhere(db, condition, bound)) {
        if (e.details.isEmpty())
            continue;
        QString details;
        if (e.table == QLatin1String("TMEMBRO")) {
            QStringList columns;
            for (auto m = column.globalMatch(e.details); m.hasNext();)
                columns << m.next().captured(1);
            details = QStringLiteral("valores removidos na anonimização")
                      + (columns.isEmpty() ? QString() : QStringLiteral(": ") + columns.join(QStringLiteral(", ")));
        } else {
            details = withoutValues(e.details, values, name);
        }
        if (details != e.details)
            writeDetails(db, e.code, details);
    }
}

QString shown(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    return value.toString().trimmed();
}

QString money(double value)
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(value, 'f', 2);
}

Table registerTable(const QSqlRecord &row, const QList<std::pair<QString, QString>> &captions)
{
    Table t{QStringLiteral("Cadastro"), {QStringLiteral("DADO"), QStringLiteral("VALOR")}, {35, 65}, {}};
    for (const FieldDef &def : Schema::table(QStringLiteral("MEMBRO")).columns) {
        if (!row.contains(def.name) || def.type == FieldType::Blob)
            continue;
        // The one column no page shows is named here.
        QString caption = def.name == QLatin1String("MEMANONIMIZADOEM") ? QStringLiteral("ANONIMIZADO EM") : def.name;
        for (const auto &[c, text] : captions)
            if (c == def.name && text != def.name)
                caption = text;
        t.rows.append({caption, shown(row.value(def.name))});
    }
    return t;
}

Table rollTable(const QSqlDatabase &db, int member)
{
    Table t{QStringLiteral("Histórico no Rol"),
            {QStringLiteral("DATA"), QStringLiteral("O QUE"), QStringLiteral("REFERÊNCIA"), QStringLiteral("OBSERVAÇÃO")},
            {14, 36, 20, 30},
            {}};
    QSqlQuery q = Statements::run(db,
                                  QStringLiteral("SELECT ROLDATA, ROLDESCRICAO, ROLREFERENCIA, ROLOBSERVACAO FROM TROL "
                                                 "WHERE ROLMEMBRO = ? ORDER BY ROLDATA, ROLCODIGO"),
                                  {member});
    while (q.next())
        t.rows.append({shown(q.value(0)), shown(q.value(1)), shown(q.value(2)), shown(q.value(3))});
    return t;
}

Table documentsTable(const QSqlDatabase &db, int member)
{
    Table t{QStringLiteral("Documentos Emitidos"),
            {QStringLiteral("DOCUMENTO"), QStringLiteral("DATA"), QStringLiteral("DETALHES")},
            {40, 14, 46},
            {}};
    QSqlQuery q = Statements::run(db,
                                  QStringLiteral("SELECT DOCTIPO, DOCNUMERO, DOCANO, DOCDATA, DOCDETALHES FROM TDOCUMENTO "
                                                 "WHERE DOCMEMBRO = ? ORDER BY DOCDATA, DOCCODIGO"),
                                  {member});
    while (q.next())
        t.rows.append({Documents::title(q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt()),
                       shown(q.value(3)), shown(q.value(4))});
    return t;
}

Table movementsTable(const QSqlDatabase &db, int member)
{
    Table t{QStringLiteral("Contribuições e Movimentações por Mês"),
            {QStringLiteral("MÊS"), QStringLiteral("TIPO"), QStringLiteral("LANÇAMENTOS"), QStringLiteral("VALOR")},
            {25, 25, 20, 30},
            {}};
    QSqlQuery q = Statements::run(
        db,
        QStringLiteral("SELECT L.LIVANO, L.LIVMES, M.MOVDEBITOCREDITO, COUNT(*), SUM(M.MOVVALOR) FROM TMOVIMETACOES M "
                       "JOIN TLIVRO L ON L.LIVCODIGO = M.MOVLIVRO WHERE M.MOVMEMBRO = ? "
                       "GROUP BY L.LIVANO, L.LIVMES, M.MOVDEBITOCREDITO ORDER BY 1, 2, 3"),
        {member});
    while (q.next())
        t.rows.append({QStringLiteral("%1/%2").arg(q.value(1).toInt(), 2, 10, QChar(u'0')).arg(q.value(0).toInt()),
                       shown(q.value(2)), q.value(3).toString(), money(q.value(4).toDouble())});
    return t;
}

Table logTable(const QSqlDatabase &db, int member)
{
    Table t{QStringLiteral("Histórico de Alterações"),
            {QStringLiteral("DATA E HORA"), QStringLiteral("CONTA"), QStringLiteral("REGISTRO"),
             QStringLiteral("OPERAÇÃO"), QStringLiteral("DETALHES")},
            {15, 11, 17, 12, 45},
            {}};
    QVariantList values;
    const QString condition = aboutMember(db, member, values);
    QList<ChangeLog::Entry> entries = ChangeLog::readWhere(db, condition, values);
    std::reverse(entries.begin(), entries.end()); // oldest first, as the other tables
    for (const ChangeLog::Entry &e : entries)
        t.rows.append({e.when.toString(QStringLiteral("dd/MM/yyyy hh:mm")), e.account,
                       ChangeLog::captionOf(e.table) + QStringLiteral(" nº ") + e.row.toString(), e.operation,
                       e.details});
    return t;
}

} // namespace

bool anonymisationAvailable()
{
    return DM && SchemaUpgrade::available(DM->SQLConnection1(), kLevel);
}

QString anonymisedName(int member)
{
    return QStringLiteral("MEMBRO ANONIMIZADO %1").arg(member, 4, 10, QChar(u'0'));
}

const QStringList &erasedColumns()
{
    static const QStringList columns{
        QStringLiteral("MEMNOME"),     QStringLiteral("MEMENDERECO"),    QStringLiteral("MEMTELEFONERES"),
        QStringLiteral("MEMTELEFONETRAB"), QStringLiteral("MEMCELULAR"), QStringLiteral("MEMEMAIL"),
        QStringLiteral("MEMCPF"),      QStringLiteral("MEMRG"),          QStringLiteral("MEMNOMEPAI"),
        QStringLiteral("MEMNOMEMAE"),  QStringLiteral("MEMCONJUGE"),     QStringLiteral("MEMDATANASC"),
        QStringLiteral("MEMFOTO"),     QStringLiteral("MEMRESPONSAVEL"),
    };
    return columns;
}

void anonymise(const QSqlDatabase &db, int member)
{
    const QString name = anonymisedName(member);
    Statements::Transaction t(db);
    const QStringList values = personalValues(db, member);
    cleanOwnedTexts(db, member, values, name);
    QStringList sets{QStringLiteral("MEMNOME = ?"), QStringLiteral("MEMANONIMIZADOEM = CURRENT_DATE")};
    for (const QString &column : erasedColumns().mid(1))
        sets << column + QStringLiteral(" = NULL");
    Statements::run(db, QStringLiteral("UPDATE TMEMBRO SET %1 WHERE MEMCODIGO = ?").arg(sets.join(QStringLiteral(", "))),
                    {name, member});
    if (ChangeLog::available()) {
        // The log lets its details change in this transaction only: it names the member, who is anonymised now.
        Statements::run(db, QStringLiteral("SELECT RDB$SET_CONTEXT('USER_TRANSACTION', '%1', ?) FROM RDB$DATABASE")
                                .arg(ChangeLog::kAnonymisationVariable),
                        {QString::number(member)})
            .next();
        cleanLog(db, member, values, name);
        Statements::run(db,
                        QStringLiteral("INSERT INTO TALTERACOES (ALTTABELA, ALTREGISTRO, ALTOPERACAO, ALTDETALHES) "
                                       "VALUES ('TMEMBRO', ?, ?, ?)"),
                        {member, ChangeLog::Operation::Anonymise,
                         QStringLiteral("dados pessoais apagados a pedido do titular: %1")
                             .arg(erasedColumns().join(QStringLiteral(", ")))
                             .toUtf8()});
    }
    t.commit();
}

Holding collect(const QSqlDatabase &db, int member, const QList<std::pair<QString, QString>> &captions)
{
    QSqlQuery q = Statements::run(db, QStringLiteral("SELECT * FROM TMEMBRO WHERE MEMCODIGO = ?"), {member});
    if (!q.next())
        return {};
    Holding h;
    h.name = q.value(QStringLiteral("MEMNOME")).toString().trimmed();
    h.photograph = q.value(QStringLiteral("MEMFOTO")).toByteArray();
    h.tables << registerTable(q.record(), captions);
    if (stored(db, "TROL"))
        h.tables << rollTable(db, member);
    if (stored(db, "TDOCUMENTO"))
        h.tables << documentsTable(db, member);
    h.tables << movementsTable(db, member);
    if (ChangeLog::available())
        h.tables << logTable(db, member);
    return h;
}

} // namespace MemberData
