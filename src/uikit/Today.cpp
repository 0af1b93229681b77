#include "Today.h"

namespace {
QDate &fixedDay()
{
    static QDate day;
    return day;
}
} // namespace

namespace Today {

QDate date()
{
    return fixedDay().isValid() ? fixedDay() : QDate::currentDate();
}

void setForTests(const QDate &day)
{
    fixedDay() = day;
}

} // namespace Today
