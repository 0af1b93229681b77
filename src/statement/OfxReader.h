#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// A bank statement read from an OFX file: the 1.x SGML form (tags left
// open, values on lines of their own, a CHARSET:1252 header) and the 2.x
// XML form, as Brazilian banks write them. Texts are read as UTF-8 where
// their bytes are UTF-8 and as Windows-1252 otherwise, whatever the header
// says; a posting's direction is its amount's sign; a date keeps the day the
// bank wrote, whatever its time and zone. A file that is not OFX, is cut
// short, or has an amount or a date that cannot be read is refused with a
// DbError in Portuguese that names the line: nothing of it is used.
namespace Ofx {

struct Line
{
    int fileLine = 0;     // where the posting starts in the file, from 1
    QDate date;           // DTPOSTED
    double amount = 0;    // TRNAMT: positive a credit, negative a debit
    QString description;  // MEMO, or NAME when there is no MEMO
    QString fitId;        // as the bank wrote it; may be empty, zeros or repeated
    QString type;         // TRNTYPE, which says nothing reliable of the direction
    // Who the line is, for "never twice": the account with the FITID, or with
    // the date, amount and description when the FITID is missing, all zeros
    // or repeated in the statement (a counter tells repeated ones apart).
    QString identity;
};

// A posting left out: a blank amount, or an amount of zero.
struct LeftOut
{
    int fileLine = 0;
    QString why;
};

struct Statement
{
    int fileLine = 0;
    bool creditCard = false; // CCSTMTRS
    QString bank;            // BANKID (for a card, the FI's ORG)
    QString branch;          // BRANCHID
    QString account;         // ACCTID
    QDate start, end;        // DTSTART, DTEND
    std::optional<double> ledgerBalance; // LEDGERBAL's BALAMT
    QDate ledgerDate;                    // and its DTASOF
    QList<Line> lines;       // in the file's order
    QList<LeftOut> leftOut;

    // "BANCO 341 · AG 1234 · CC 56789-0": how windows name it.
    QString accountLabel() const;
    // The account as the identities of its lines begin with.
    QString accountKey() const;
};

// Every statement of the file, in the file's order (a file may hold several
// accounts, and a first statement that is empty). DbError on a bad file.
QList<Statement> read(const QByteArray &bytes);

// The parts the reader is made of, for the fuzz target and the tests: an
// amount ("-530,86", "  1.234,56", "+10.00") and a date ("20110502",
// "20110502120000[-3:BRT]"); nullopt when it cannot be read.
std::optional<double> amountOf(const QString &text);
std::optional<QDate> dateOf(const QString &text);

} // namespace Ofx
