#pragma once

#include <QSqlDatabase>
#include <QString>

// The user and password an attachment to a database is made with.
struct Credentials
{
    QString userName;
    QString password;
};

// The pair for the database named `databasePath`: a file for the embedded
// engine, which does not check it, or "host:path" (just "host:" for the
// server's services manager) for a Firebird server. Every attachment of the
// program, its tools and its tests takes its pair from here, so a server's
// own pair, kept in the installation's connection file, comes in at this one
// place.
Credentials credentialsFor(const QString &databasePath);

// A Firebird (QIBASE) connection named `connectionName` to `databasePath`
// with its pair; not opened yet.
QSqlDatabase addFirebirdConnection(const QString &connectionName, const QString &databasePath);
