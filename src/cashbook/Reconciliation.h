#pragma once

#include "statement/OfxReader.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

// The bank statement against a month's cash book: which of its lines are
// new (each line's identity is kept in TEXTRATO once imported, so a second
// import of the same file, or an overlapping statement, brings only what
// was not imported), which movement of the book each new line probably is,
// which category a movement made from it would take, and the import of the
// treasurer's decisions, all in one transaction. No widgets: the window
// "Extrato Bancário" shows a Plan and hands back the Decisions.
namespace Reconciliation {

constexpr int kLevel = 6; // the database level of TEXTRATO

// How TEXTRATO keeps a decided line.
inline const QString kMatched = QStringLiteral("CONFERIDO");
inline const QString kCreated = QStringLiteral("LANÇADO");
inline const QString kIgnored = QStringLiteral("IGNORADO");

// Whether DM's database keeps imported statement lines.
bool available();

// A movement of the book as matching sees it.
struct Movement
{
    int code = 0;
    QDate date;
    double value = 0;
    QString kind; // "ENTRADA" or "SAIDA"
    QString description;
};

// A new line of the statement in the book's month.
struct Proposal
{
    Ofx::Line line;
    QString kind;  // from the amount's sign: a credit is an ENTRADA, a debit a SAIDA
    double value;  // the amount without its sign, as movements keep it
    std::optional<int> match; // the movement proposed
    int candidates = 0;       // movements that would fit (same kind and value, date within 3 days, not matched)
    QVariant category;        // proposed for a movement made from it: the last one of the same description's
    QString movementDescription() const; // what a movement made from it is called
};

struct Plan
{
    Ofx::Statement statement;
    int book = 0;
    int month = 0, year = 0;
    QList<Proposal> lines;      // new lines in the book's month, in date order
    QList<Ofx::Line> outside;   // new lines of other months: listed, never imported into this book
    int alreadyImported = 0;    // lines of the statement imported before
    QList<Movement> unmatched;  // the book's movements not matched to any line yet, by date
    // The book's balance on the statement's balance date: the balance carried
    // from the month before plus the movements up to that day.
    std::optional<double> bookBalance;
};

// The plan of `statement` for the book `bookCode`; DbError when the book has
// no month and year.
Plan plan(const Ofx::Statement &statement, int bookCode);

// The movements that fit `proposal` (same kind and value, date within 3
// days), among `movements`.
QList<Movement> candidatesFor(const Proposal &proposal, const QList<Movement> &movements);

// What the treasurer decided for a line.
struct Decision
{
    enum class Kind { Later, Match, Ignore, Create } kind = Kind::Later; // Later: nothing kept, it comes again
    int movement = 0;   // Match: the movement
    QVariant category;  // Create: the category (may be empty)
};

// Writes the decisions of `plan`'s lines (one per line, in its order) in one
// transaction: the movements created, each line decided in TEXTRATO. DbError
// on a failure, and then nothing is written. `beforeLine` is told each line's
// index before it is written (tests make it fail there). Returns how many
// lines were kept.
int apply(const Plan &plan, const QList<Decision> &decisions, const std::function<void(int)> &beforeLine = {});

// The movements matched to (or made from) a statement line: "conferidos".
QSet<int> reconciledMovements();

} // namespace Reconciliation
