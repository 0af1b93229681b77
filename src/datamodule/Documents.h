#pragma once

#include "SchemaLevels.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// The documents the church issues to its members (letters, certificates,
// declarations), kept in TDOCUMENTO: each numbered within its kind and year
// ("Carta de Transferência nº 7/2026"). The number is the largest of its
// kind and year plus one, taken in the transaction that records the
// document; a unique index on kind, year and number keeps two workstations
// from issuing the same one, and the one that loses takes the next number.
// Issuing also writes a line of the member's history (TROL).
namespace Documents {

constexpr int kLevel = 5;
inline const QString kNumberIndex = QStringLiteral("TDOCUMENTO_NUMERO");

// The objects of the documents' level: the unique index of the numbers.
QList<SchemaLevels::SchemaObject> schemaObjects(int level);

// What is issued: to whom, which kind (DOCTIPO, the document's name), when
// (its year numbers it) and what was asked for it, in a line.
struct Request
{
    int member = 0;
    QString kind;
    QDate date;
    QString details;
};

struct Issued
{
    int code = 0;
    int number = 0;
    int year = 0;
};

// "Carta de Transferência nº 7/2026".
QString title(const QString &kind, int number, int year);

// Records the document and its line of the member's history in one
// transaction and returns its number; a clash with a number another
// workstation took meanwhile is tried again with the next one. DbError when
// the database refuses it: then nothing was recorded.
Issued issue(const QSqlDatabase &db, const Request &request);

} // namespace Documents
