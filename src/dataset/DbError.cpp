#include "DbError.h"

QString withEngineText(const QString &message, const QString &engineText)
{
    return message + QStringLiteral("\n\n(Firebird: ") + engineText + u')';
}
