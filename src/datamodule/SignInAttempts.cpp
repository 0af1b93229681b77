#include "SignInAttempts.h"

#include <QHash>

namespace SignInAttempts {

namespace {

struct Tries
{
    int wrongInARow = 0;
    QDateTime last;
};

QHash<QString, Tries> &tries()
{
    static QHash<QString, Tries> byName;
    return byName;
}

QDateTime &fixedNow()
{
    static QDateTime time;
    return time;
}

} // namespace

QDateTime now()
{
    return fixedNow().isValid() ? fixedNow() : QDateTime::currentDateTimeUtc();
}

void setClockForTests(const QDateTime &time)
{
    fixedNow() = time;
}

void forgetAll()
{
    tries().clear();
}

int secondsToWait(const QString &userName)
{
    const Tries t = tries().value(userName);
    if (t.wrongInARow < kTriesBeforeWaiting)
        return 0;
    const qint64 passed = t.last.secsTo(now());
    return passed >= kSecondsToWait || passed < 0 ? 0 : int(kSecondsToWait - passed);
}

void wrong(const QString &userName)
{
    Tries &t = tries()[userName];
    ++t.wrongInARow;
    t.last = now();
}

void right(const QString &userName)
{
    tries().remove(userName);
}

} // namespace SignInAttempts
