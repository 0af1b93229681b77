#pragma once

#include <QDate>
#include <QList>
#include <QString>

// Birthdays of members, for the main window's list of today's and the
// report of a month's.
namespace Birthdays {

// Whether someone born on `birth` has a birthday on `day`. Born on 29
// February, the birthday of a common year is 28 February, so it stays in
// its month. An empty date never has one.
bool fallsOn(const QDate &birth, const QDate &day);

// The age completed in `year`; -1 when born after it or with no date.
int ageIn(const QDate &birth, int year);

// "34 anos", "1 ano".
QString ageText(int age);

struct Born
{
    QString name;
    int age = 0;
};
// Every active member (Roll) with a birthday on `day`, whatever search the members
// register left on, by name, with the age completed. Read from TBMEMBRO when
// it is open; otherwise the members born in that month are asked of the
// database, so the main window need not read the whole table to show them.
QList<Born> bornOn(const QDate &day);

} // namespace Birthdays
