#include "EngineLocks.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#ifndef KELMARA_FIREBIRD_LOCK
#define KELMARA_FIREBIRD_LOCK ""
#endif

namespace EngineLocks {

QString builtInFolder()
{
    return QString::fromUtf8(KELMARA_FIREBIRD_LOCK);
}

bool isRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

void useFolder(const QString &folder, bool runningAsRoot)
{
    if (folder.isEmpty() || runningAsRoot || qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        return;
    qputenv("FIREBIRD_LOCK", folder.toLocal8Bit());
}

} // namespace EngineLocks
