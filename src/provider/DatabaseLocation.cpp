#include "DatabaseLocation.h"

DatabaseLocation DatabaseLocation::of(const QString &databasePath)
{
    DatabaseLocation where;
    where.file = databasePath;
    const qsizetype url = databasePath.indexOf(QLatin1String("://"));
    if (url > 0) { // inet://host/path
        const qsizetype slash = databasePath.indexOf(u'/', url + 3);
        where.server = databasePath.left(slash + 1);
        where.file = databasePath.mid(slash + 1);
        return where;
    }
    const qsizetype colon = databasePath.indexOf(u':');
    const bool driveLetter = colon == 1 && databasePath.at(0).isLetter();
    if (colon > 0 && !driveLetter) {
        where.server = databasePath.left(colon + 1);
        where.file = databasePath.mid(colon + 1);
    }
    return where;
}

QString DatabaseLocation::folder() const
{
    const qsizetype cut = qMax(file.lastIndexOf(u'/'), file.lastIndexOf(u'\\'));
    return file.left(cut + 1);
}
