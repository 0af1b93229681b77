#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <utility>

// A member's rights over the data the church keeps about them: all of it
// gathered for the member to see (collect), and the personal data erased
// at their request (anonymise), the roll's statistics and the money kept.
namespace MemberData {

// The level that records the day of an anonymisation (ChangeLog lets the
// log be cleaned of the member's values from it on).
constexpr int kLevel = 7;
bool anonymisationAvailable(); // DM's database has kLevel

// "MEMBRO ANONIMIZADO 0007": the name an anonymised member keeps.
QString anonymisedName(int member);

// The columns anonymisation empties: whatever names, finds or shows the
// person (their name, replaced by anonymisedName), and not what counts
// them on the roll (sex, situação, the roll's dates and churches).
const QStringList &erasedColumns();

// Anonymises `member` in one transaction: the erased columns emptied and
// the day recorded; the member's values taken out of the change log's
// details about the member's row, and out of the texts of the member's
// roll history and documents and of their lines in the log; one line of
// the log says that it was done, with no old value. Movements stay as they
// are, linked to the anonymised row. DbError when the database refuses it:
// then nothing changed.
void anonymise(const QSqlDatabase &db, int member);

// One table of what is kept: its title, its column headings with their
// shares of the width, and its rows of texts.
struct Table
{
    QString title;
    QStringList headings;
    QList<int> shares;
    QList<QStringList> rows;
};

struct Holding
{
    QString name;
    QByteArray photograph;
    QList<Table> tables;
};

// Everything stored about `member`: every column of the register, titled by
// `captions` (column, caption) where it names the column, the roll's
// history, the documents issued, the movements given by month and every
// line of the change log about the member's rows. Empty when there is no
// such member.
Holding collect(const QSqlDatabase &db, int member, const QList<std::pair<QString, QString>> &captions);

} // namespace MemberData
