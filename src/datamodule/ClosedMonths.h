#pragma once

#include "SchemaLevels.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// Closing a month of the cash book: once the month's accounts are presented,
// its balances are computed as the cash book report computes them and
// stored, and the book is marked closed with the date and the account.
// Nothing of a closed month is inserted, changed or deleted afterwards: the
// windows refuse it, and so do the engine's triggers, for every workstation
// and every database tool. Months close in order (the book of the month
// before must be closed or not exist, and its balances must chain), and
// only the latest closed month reopens, with a reason, which the change log
// keeps. The books are read from DM's TBLIVRO as it is in memory.
namespace ClosedMonths {

constexpr int kLevel = 3;

// Whether DM's database can close months (level 3): its books have the
// closing's columns.
bool available();

// "Março"; empty for a number that is no month.
QString monthName(int month);
// How messages name a book: "MAIO/2011" (its month in capitals and its
// year); its description, or "de código 7", when it has no month 1 to 12
// and year.
QString bookLabel(int bookCode);

struct Closing
{
    QDate on;
    QString by; // the shown name of the account that closed it
};
// How the book was closed; none while it is open (or unknown).
std::optional<Closing> closingOf(const QVariant &bookCode);
// "Mês fechado em 05/06/2011 por MARIA", as the reports print it.
QString footLine(const Closing &closing);

// Why a movement of the book `bookCode` may not be included, changed or
// deleted: "O livro MAIO/2011 está fechado. Para alterar um lançamento
// dele, ..."; empty while the book is open.
QString movementRefusal(const QVariant &bookCode);
// Why the book itself may not be changed or deleted; empty while it is open.
QString bookRefusal(const QVariant &bookCode);

// The balances of a book as the cash book report computes them: the
// current balance stored on the book of the month before (0 when none),
// and the entries and exits of its movements in the database.
struct Balances
{
    double previous = 0;
    double entries = 0;
    double exits = 0;
    double current() const { return previous + entries - exits; }
};
double previousBalanceOf(int bookCode);
Balances balancesOf(int bookCode);

// Why the book may not be closed now (out of order, balances that do not
// chain, no month or year, closed already); empty when it may.
QString closingRefusal(int bookCode);
// Closes it on `on` by the signed-in account, storing its balances; DbError
// with the refusal, or the database's, and then nothing is stored.
void close(int bookCode, const QDate &on);
// Why the book may not be reopened (open, or not the latest closed month);
// empty when it may.
QString reopeningRefusal(int bookCode);
// Reopens it for `reason`, which the change log keeps; DbError with the
// refusal (an empty reason among them) and then nothing is stored.
void reopen(int bookCode, const QString &reason);

// The triggers that keep the rules in the engine: one on the books, one on
// the movements (SchemaLevels, level 3).
QList<SchemaLevels::SchemaObject> schemaObjects();

} // namespace ClosedMonths
