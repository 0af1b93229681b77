#include "Roll.h"

#include "SchemaUpgrade.h"
#include "Statements.h"
#include "UDM.h"

#include <QSqlQuery>

namespace Roll {

namespace {

// A row of the history of NEW's member, its code the largest plus one as
// every code of the program.
QString historyRow(const QString &date, const QString &description, const QString &note)
{
    return QStringLiteral("    INSERT INTO TROL (ROLCODIGO, ROLMEMBRO, ROLDATA, ROLDESCRICAO, ROLOBSERVACAO) "
                          "VALUES ((SELECT COALESCE(MAX(ROLCODIGO), 0) + 1 FROM TROL), NEW.MEMCODIGO, %1, %2, %3);\n")
        .arg(date, description, note);
}

// The row of a change of the admission or of the exit: its date and its
// form or reason as the columns `date` and `kind` of NEW hold them, its
// church (of origin, of destination) in the note; "APAGADA" when cleared.
QString eventRow(const QString &word, const QString &date, const QString &kind, const QString &church,
                 const QString &churchCaption)
{
    const QString changed = QStringLiteral("NEW.%1 IS DISTINCT FROM OLD.%1 OR NEW.%2 IS DISTINCT FROM OLD.%2").arg(date, kind);
    const QString description =
        QStringLiteral("TRIM(CASE WHEN NEW.%2 IS NULL AND NEW.%3 IS NULL THEN '%1 APAGADA' " // not blank-padded
                       "WHEN OLD.%2 IS NULL AND OLD.%3 IS NULL THEN '%1' ELSE '%1 ALTERADA' END) "
                       "|| COALESCE(': ' || NEW.%3, '')")
            .arg(word, date, kind);
    return QStringLiteral("  IF (%1) THEN\n").arg(changed)
           + historyRow(QStringLiteral("COALESCE(NEW.%1, CURRENT_DATE)").arg(date), description,
                        QStringLiteral("'%1: ' || NEW.%2").arg(churchCaption, church));
}

} // namespace

bool available()
{
    return DM && SchemaUpgrade::available(DM->SQLConnection1(), kLevel);
}

QString situationOf(const QVariant &stored)
{
    const QString text = stored.toString();
    return text.isEmpty() ? kActive : text;
}

QStringList situationChoices()
{
    return kSituations + QStringList{kAnySituation};
}

QString memberCondition(const QString &situation, QVariantList &values, const QString &placeholder)
{
    if (situation == kAnySituation || situation.isEmpty() || !available())
        return QStringLiteral("1 = 1");
    values << situation;
    return QStringLiteral("COALESCE(TMEMBRO.MEMSITUACAO, '%1') = %2").arg(kActive, placeholder);
}

bool listed(const QVariant &stored, const QString &situation)
{
    return situation == kAnySituation || situationOf(stored) == situation;
}

QList<HistoryRow> history(int member)
{
    QSqlQuery q = Statements::run(DM->SQLConnection1(),
                                  QStringLiteral("SELECT ROLDATA, ROLDESCRICAO, ROLREFERENCIA, ROLOBSERVACAO FROM TROL "
                                                 "WHERE ROLMEMBRO = ? ORDER BY ROLDATA DESC, ROLCODIGO DESC"),
                                  {member});
    QList<HistoryRow> rows;
    while (q.next())
        rows.append({q.value(0).toDate(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
    return rows;
}

void addToHistory(int member, const HistoryRow &row)
{
    const auto orNull = [](const QString &text) {
        return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
    };
    Statements::run(DM->SQLConnection1(),
                    QStringLiteral("INSERT INTO TROL (ROLCODIGO, ROLMEMBRO, ROLDATA, ROLDESCRICAO, ROLREFERENCIA, "
                                   "ROLOBSERVACAO) VALUES ((SELECT COALESCE(MAX(ROLCODIGO), 0) + 1 FROM TROL), ?, ?, ?, ?, ?)"),
                    {member, row.date, orNull(row.description.left(100)), orNull(row.reference.left(60)),
                     orNull(row.note.left(250))});
}

QList<SchemaLevels::SchemaObject> schemaObjects(int)
{
    const QString body =
        QStringLiteral("CREATE TRIGGER TMEMBRO_ROL FOR TMEMBRO ACTIVE AFTER INSERT OR UPDATE POSITION 100 AS\n"
                       "BEGIN\n"
                       "  IF (NEW.MEMSITUACAO IS NOT NULL AND (INSERTING OR NEW.MEMSITUACAO <> OLD.MEMSITUACAO)) THEN\n"
                       "%1%2%3"
                       "END")
            .arg(historyRow(QStringLiteral("CURRENT_DATE"),
                            QStringLiteral("'SITUAÇÃO: ' || COALESCE(OLD.MEMSITUACAO || ' PARA ', '') || NEW.MEMSITUACAO"),
                            QStringLiteral("NULL")),
                 eventRow(QStringLiteral("ADMISSÃO"), QStringLiteral("MEMDATAADMISSAO"), QStringLiteral("MEMFORMAADMISSAO"),
                          QStringLiteral("MEMIGREJAORIGEM"), QStringLiteral("IGREJA DE ORIGEM")),
                 eventRow(QStringLiteral("SAÍDA"), QStringLiteral("MEMDATASAIDA"), QStringLiteral("MEMMOTIVOSAIDA"),
                          QStringLiteral("MEMIGREJADESTINO"), QStringLiteral("IGREJA DE DESTINO")));
    return {{QStringLiteral("TRIGGER"), QStringLiteral("TMEMBRO_ROL"), body}};
}

} // namespace Roll
