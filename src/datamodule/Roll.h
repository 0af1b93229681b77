#pragma once

#include "SchemaLevels.h"

#include <QDate>
#include <QList>
#include <QStringList>

// The church's roll of members: where each member stands (situação), how
// they came in and why they left, as TMEMBRO keeps them (level 4), and the
// choices the windows and reports offer for them.
namespace Roll {

constexpr int kLevel = 4;

inline const QString kActive = QStringLiteral("ATIVO");

// Situações, the active first.
inline const QStringList kSituations{kActive, QStringLiteral("AFASTADO"), QStringLiteral("TRANSFERIDO"),
                                     QStringLiteral("FALECIDO"), QStringLiteral("DESLIGADO")};
// Formas de admissão.
inline const QStringList kAdmissions{QStringLiteral("BATISMO"), QStringLiteral("TRANSFERÊNCIA"),
                                     QStringLiteral("ACLAMAÇÃO"), QStringLiteral("RECONCILIAÇÃO")};
// Motivos da saída.
inline const QStringList kExits{QStringLiteral("TRANSFERÊNCIA"), QStringLiteral("FALECIMENTO"),
                                QStringLiteral("A PEDIDO"), QStringLiteral("EXCLUSÃO")};

// Whether DM's database has the roll (level 4).
bool available();

// The situação as the lists count it: a member with none (written by a
// tool) is active.
QString situationOf(const QVariant &stored);
// The filter "SITUAÇÃO" of the member reports: one situação, or every
// member with kAnySituation.
inline const QString kAnySituation = QStringLiteral("TODAS");
QStringList situationChoices(); // kSituations, then kAnySituation
// A condition of SQL on TMEMBRO leaving the members of `situation` (one
// parameter, `placeholder`, its value appended to `values`), or "1 = 1" for
// every member or a database without the roll.
QString memberCondition(const QString &situation, QVariantList &values,
                        const QString &placeholder = QStringLiteral("?"));
// Whether a member whose MEMSITUACAO holds `stored` is listed under `situation`.
bool listed(const QVariant &stored, const QString &situation);

// One row of a member's history.
struct HistoryRow
{
    QDate date;
    QString description, reference, note;
};
// The history of `member`, newest first.
QList<HistoryRow> history(int member);
// A row of it written by the user (a meeting's minute, a letter received).
void addToHistory(int member, const HistoryRow &row);

// The roll's history keeps itself: a trigger of TMEMBRO adds a row of TROL,
// in the statement that saves the member, for each change of the situação
// (from one to another; a member's first one when included), of the
// admission and of the exit, dated the day of the admission or exit (of the
// change, for a situação), with the church of origin or destination as its
// note. So no workstation and no tool changes a member's place on the roll
// without its row.
QList<SchemaLevels::SchemaObject> schemaObjects(int level);

} // namespace Roll
