#include "Birthdays.h"

#include "Roll.h"
#include "UDM.h"
#include "provider/QueryDataset.h"

#include <algorithm>

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

namespace {

void addIfBorn(QList<Born> &born, const QString &name, const QDate &birth, const QDate &day)
{
    const int age = ageIn(birth, day.year());
    if (age >= 0 && fallsOn(birth, day))
        born.append({name, age});
}

} // namespace

QList<Born> bornOn(const QDate &day)
{
    QList<Born> born;
    TableDataset *members = DM->TBMEMBRO;
    if (members->active()) {
        const int name = DM->TBMEMBROMEMNOME->index();
        const int birth = DM->TBMEMBROMEMDATANASC->index();
        const int situation = DM->TBMEMBROMEMSITUACAO->index();
        for (int row = 0; row < members->allRowCount(); ++row)
            if (Roll::listed(members->allRowValue(row, situation), Roll::kActive))
                addIfBorn(born, members->allRowValue(row, name).toString(), members->allRowValue(row, birth).toDate(), day);
    } else {
        QueryDataset month(QStringLiteral("QAniversariantesHoje"), DM->connectionName());
        QVariantList values{day.month()};
        const QString active = Roll::memberCondition(Roll::kActive, values);
        month.addSql(QStringLiteral("SELECT MEMNOME, MEMDATANASC FROM TMEMBRO WHERE EXTRACT(MONTH FROM MEMDATANASC) = ? AND ")
                     + active);
        for (int i = 0; i < values.size(); ++i)
            month.setParam(i, values[i]);
        month.open();
        for (month.first(); !month.eof(); month.next())
            addIfBorn(born, month.fields()[0]->asString(), month.fields()[1]->asDate(), day);
    }
    std::sort(born.begin(), born.end(),
              [](const Born &a, const Born &b) { return QString::localeAwareCompare(a.name, b.name) < 0; });
    return born;
}

} // namespace Birthdays
