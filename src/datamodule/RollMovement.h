#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The movement of the church's roll in one year, the figures a convention or
// presbytery asks for, worked out from the admission and exit dates that
// TMEMBRO keeps (Roll, level 4). A member is on the roll on a day when
// admitted on or before it (a member with no admission date, old data, since
// always) and not yet gone on it (no exit date, or one after that day). The
// year starts with the members on the roll at the end of 31 December of the
// year before, so that a member admitted on 1 January counts among the
// admitted and not at the start, and always
//     start + admitted - left = end.
// Admitted: admission within the year and no exit before it. Left: exit
// within the year and admitted by its end (or with no admission date). A
// member admitted and gone in the same year counts in both. Reads; writes
// nothing.
namespace RollMovement {

// What the figures need of a member, as stored.
struct Member
{
    QString name, sex, situation, admissionForm, exitReason;
    QDate birth, admission, exit;
};

// A line of the figures.
struct Count
{
    QString description; // "Batismo", "60 anos ou mais"
    int members = 0;
};

// A member admitted or gone in the year, with the form or the reason as stored.
struct Event
{
    QString name;
    QDate date;
    QString kind;
};

struct Year
{
    int year = 0;
    int start = 0; // on the roll on 1 January
    int end = 0;   // on the roll on 31 December
    QList<Count> admittedBy;  // each of Roll::kAdmissions, then kOtherAdmission
    QList<Count> leftBy;      // each of Roll::kExits, then kOtherExit
    // Every member stored, whether on the roll or not, by the situação stored
    // now (none counts as ATIVO): the register keeps no situação of the past.
    QList<Count> bySituation;
    QList<Count> bySex;       // the members on the roll on 31 December
    QList<Count> byAge;       // the same, by the age they have on 31 December (kAgeRanges)
    QList<Event> admittedList, leftList; // by date, then by name

    int admitted() const;
    int left() const;
};

inline const QString kOtherAdmission = QStringLiteral("Outra ou não informada");
inline const QString kOtherExit = QStringLiteral("Outro ou não informado");
inline const QString kNoSex = QStringLiteral("Não informado");
inline const QString kNoBirth = QStringLiteral("Sem data de nascimento");

struct AgeRange
{
    int from, to; // years completed, both included
    const char *caption;
};
inline constexpr AgeRange kAgeRanges[] = {{0, 11, "0 a 11 anos"},
                                          {12, 17, "12 a 17 anos"},
                                          {18, 29, "18 a 29 anos"},
                                          {30, 59, "30 a 59 anos"},
                                          {60, 999, "60 anos ou mais"}};

// "BATISMO" as a line of the report reads it: "Batismo".
QString caption(const QString &stored);

// The figures of `year` for `members`.
Year count(int year, const QList<Member> &members);
// The figures of `year` for every member stored in DM's database.
Year read(int year);

} // namespace RollMovement
