#include "Birthdays.h"

namespace Birthdays {

bool fallsOn(const QDate &birth, const QDate &day)
{
    if (!birth.isValid() || !day.isValid() || birth.month() != day.month())
        return false;
    if (birth.day() == day.day())
        return true;
    return birth.month() == 2 && birth.day() == 29 && day.day() == 28 && !QDate::isLeapYear(day.year());
}

int ageIn(const QDate &birth, int year)
{
    return birth.isValid() && birth.year() <= year ? year - birth.year() : -1;
}

QString ageText(int age)
{
    return age == 1 ? QStringLiteral("1 ano") : QStringLiteral("%1 anos").arg(age);
}

} // namespace Birthdays
