#pragma once

#include "SchemaLevels.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// The change log, TALTERACOES: who included, changed or deleted which row of
// which table, from which computer and when. The engine writes it: a trigger
// on every table of the program logs each row as it is written, whatever
// wrote it (any window, a second workstation, a database tool), inside the
// statement itself, so a save costs no round trip more; and it refuses to
// change or delete the log. The program tells the engine who is signed in and
// from which computer right after the sign-in (a variable of the attachment's
// session, tellSession); a change without it is logged as "(fora do
// programa)" with the database user. Sign-ins and refused sign-ins are logged
// by the program itself. The log is read by query (read), never as a table
// of DM: its texts are UTF-8, for the arrow of a change and for whatever a
// sign-in was typed with.
namespace ChangeLog {

inline const QString kTable = QStringLiteral("TALTERACOES");
constexpr int kLevel = 3;

// The operations as the log stores them.
namespace Operation {
inline const QString Insert = QStringLiteral("INCLUSÃO");
inline const QString Update = QStringLiteral("ALTERAÇÃO");
inline const QString Delete = QStringLiteral("EXCLUSÃO");
inline const QString SignIn = QStringLiteral("ENTRADA");
inline const QString SignInRefused = QStringLiteral("ENTRADA RECUSADA");
inline const QString Close = QStringLiteral("FECHAMENTO");
inline const QString Reopen = QStringLiteral("REABERTURA");
inline const QString Anonymise = QStringLiteral("ANONIMIZAÇÃO");
} // namespace Operation

// The level from which a member's anonymisation may take the member's old
// values out of the log's details: in the transaction that anonymises the
// member, which names the member in this variable of the transaction.
constexpr int kAnonymisationLevel = 7;
inline const QString kAnonymisationVariable = QStringLiteral("KELMARA_ANONIMIZACAO");

// The account of a change made with no program signed in on its connection.
inline const QString kOutsideProgram = QStringLiteral("(fora do programa)");

// Whether DM's database keeps the log (level 3): it has the log's table.
bool available();

// Tells the engine, on the attachment of `db`, that what is written through
// it from now on is done by `account` (a user name) at `workstation`: the one
// function every connection of the program calls once its account is known.
void tellSession(const QSqlDatabase &db, const QString &account, const QString &workstation);
// This computer as the log names it.
QString workstationName();

// A sign-in, or one refused (`why` says why), of the account `userName`
// (as typed; its code when there is such an account). Only where the
// database keeps the log and takes writes.
void recordSignIn(const QSqlDatabase &db, const QString &userName, const QVariant &accountCode, bool accepted,
                  const QString &why = {});

// One line of the log.
struct Entry
{
    int code = 0;
    QDateTime when;
    QString account;
    QString workstation;
    QString databaseUser;
    QString table;     // TMEMBRO
    QVariant row;      // the row's code; null for none
    QString operation; // Operation
    QString details;   // "MEMNOME: ANA → ANA MARIA; MEMCIDADE: (vazio) → PELOTAS"
};

// What is read: the days from `from` to `to` (a null date leaves that end
// open), and when given, one account, one table and one row's code.
struct Filter
{
    QDate from, to;
    QString account;
    QString table;
    QVariant row;
};
// The most lines read at a time: the latest ones of the filter.
constexpr int kMostRead = 5000;
// The lines of `filter`, newest first, at most kMostRead.
QList<Entry> read(const QSqlDatabase &db, const Filter &filter);
// The lines where `condition` holds (SQL on the log's columns, its values
// bound by position; empty: every line), newest first, at most kMostRead.
QList<Entry> readWhere(const QSqlDatabase &db, const QString &condition, const QVariantList &values = {});

// The registers as users know them: a table and its caption ("Membros").
struct Register
{
    QString table;
    QString caption;
};
const QList<Register> &registers();
// The caption of `table`; the table's name for one the list lacks.
QString captionOf(const QString &table);

// The objects of the log for a database brought to `level`: its table and
// code sequence, the program's refusal, its own two triggers (each line
// numbered and timed by the engine; no line changed or deleted) and one
// trigger on every table of the program (SchemaLevels, level 3).
QList<SchemaLevels::SchemaObject> schemaObjects(int level);

} // namespace ChangeLog
