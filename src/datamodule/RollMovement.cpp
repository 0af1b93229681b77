#include "RollMovement.h"

#include "Birthdays.h"
#include "Roll.h"
#include "UDM.h"
#include "provider/QueryDataset.h"

#include <algorithm>
#include <iterator>

namespace RollMovement {

namespace {

bool onRollAt(const Member &m, const QDate &day)
{
    return (m.admission.isNull() || m.admission <= day) && (m.exit.isNull() || m.exit > day);
}

bool within(const QDate &date, int year)
{
    return date.isValid() && date.year() == year;
}

// One line per choice, its caption, then `other`; all at zero.
QList<Count> linesOf(const QStringList &choices, const QString &other)
{
    QList<Count> lines;
    for (const QString &choice : choices)
        lines.append({caption(choice), 0});
    if (!other.isEmpty())
        lines.append({other, 0});
    return lines;
}

// Adds one to the line of `stored` among `choices`, or to the last line.
void countIn(QList<Count> &lines, const QStringList &choices, const QString &stored)
{
    const qsizetype at = choices.indexOf(stored.trimmed().toUpper());
    ++lines[at < 0 ? lines.size() - 1 : at].members;
}

QList<Count> ageLines()
{
    QList<Count> lines;
    for (const AgeRange &range : kAgeRanges)
        lines.append({QString::fromUtf8(range.caption), 0});
    lines.append({kNoBirth, 0});
    return lines;
}

void countAge(QList<Count> &lines, const QDate &birth, int year)
{
    const int age = Birthdays::ageIn(birth, year); // completed by 31 December; -1 with no date (or a later one)
    for (int i = 0; i < int(std::size(kAgeRanges)); ++i)
        if (age >= kAgeRanges[i].from && age <= kAgeRanges[i].to) {
            ++lines[i].members;
            return;
        }
    ++lines.last().members;
}

// The situações of Roll, and "Outra" after them once one written by a tool is met.
void countSituation(QList<Count> &lines, const QString &stored)
{
    const qsizetype at = Roll::kSituations.indexOf(Roll::situationOf(stored).trimmed().toUpper());
    if (at >= 0)
        ++lines[at].members;
    else if (lines.size() > Roll::kSituations.size())
        ++lines.last().members;
    else
        lines.append({QStringLiteral("Outra"), 1});
}

void sortByDate(QList<Event> &events)
{
    std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.date != b.date ? a.date < b.date : QString::localeAwareCompare(a.name, b.name) < 0;
    });
}

int sum(const QList<Count> &lines)
{
    int total = 0;
    for (const Count &c : lines)
        total += c.members;
    return total;
}

const QStringList kSexes{QStringLiteral("MASCULINO"), QStringLiteral("FEMININO")}; // as the register stores them

} // namespace

int Year::admitted() const
{
    return sum(admittedBy);
}

int Year::left() const
{
    return sum(leftBy);
}

QString caption(const QString &stored)
{
    const QString lower = stored.toLower();
    return lower.left(1).toUpper() + lower.mid(1);
}

Year count(int year, const QList<Member> &members)
{
    const QDate first(year, 1, 1), last(year, 12, 31);
    Year y;
    y.year = year;
    y.admittedBy = linesOf(Roll::kAdmissions, kOtherAdmission);
    y.leftBy = linesOf(Roll::kExits, kOtherExit);
    y.bySituation = linesOf(Roll::kSituations, {});
    y.bySex = linesOf(kSexes, kNoSex);
    y.byAge = ageLines();
    for (const Member &m : members) {
        y.start += onRollAt(m, first.addDays(-1));
        if (within(m.admission, year) && (m.exit.isNull() || m.exit >= first)) {
            countIn(y.admittedBy, Roll::kAdmissions, m.admissionForm);
            y.admittedList.append({m.name, m.admission, m.admissionForm});
        }
        if (within(m.exit, year) && (m.admission.isNull() || m.admission <= last)) {
            countIn(y.leftBy, Roll::kExits, m.exitReason);
            y.leftList.append({m.name, m.exit, m.exitReason});
        }
        countSituation(y.bySituation, m.situation);
        if (!onRollAt(m, last))
            continue;
        ++y.end;
        countIn(y.bySex, kSexes, m.sex);
        countAge(y.byAge, m.birth, year);
    }
    sortByDate(y.admittedList);
    sortByDate(y.leftList);
    return y;
}

Year read(int year)
{
    QueryDataset query(QStringLiteral("QMovimentoRol"), DM->connectionName());
    query.addSql(QStringLiteral("SELECT MEMNOME, MEMSEXO, MEMSITUACAO, MEMFORMAADMISSAO, MEMMOTIVOSAIDA, MEMDATANASC, "
                                "MEMDATAADMISSAO, MEMDATASAIDA FROM TMEMBRO"));
    query.open();
    const auto text = [&query](const char *column) { return query.fieldByName(QLatin1String(column))->asString(); };
    const auto date = [&query](const char *column) { return query.fieldByName(QLatin1String(column))->asDate(); };
    QList<Member> members;
    for (query.first(); !query.eof(); query.next())
        members.append({text("MEMNOME"), text("MEMSEXO"), text("MEMSITUACAO"), text("MEMFORMAADMISSAO"),
                        text("MEMMOTIVOSAIDA"), date("MEMDATANASC"), date("MEMDATAADMISSAO"), date("MEMDATASAIDA")});
    return count(year, members);
}

} // namespace RollMovement
