#include "Credentials.h"

Credentials credentialsFor(const QString &databasePath)
{
    Q_UNUSED(databasePath) // one pair for every database until servers have their own
    return {QStringLiteral("SYSDBA"), QStringLiteral("tessavine")};
}

QSqlDatabase addFirebirdConnection(const QString &connectionName, const QString &databasePath)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    const Credentials pair = credentialsFor(databasePath);
    db.setDatabaseName(databasePath);
    db.setUserName(pair.userName);
    db.setPassword(pair.password);
    return db;
}
