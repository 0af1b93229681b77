#pragma once

#include <QSqlDatabase>
#include <QString>

// The user and password an attachment to a database is made with.
struct Credentials
{
    QString userName;
    QString password;
};

// The pair for the database named `databasePath`: for a file of this
// computer the embedded engine's, which checks no password; for a Firebird
// server ("host:path", just "host:" for its services manager) the two lines
// of the connection file beside the alias file (SystemPaths::
// connectionFilePath): the user the church created for the program on its
// server, and that user's password. The program holds no server password of
// its own. DbError in Portuguese, naming the file and what to write in it,
// when the file is missing, unreadable or incomplete. Every attachment of
// the program, its tools and its tests takes its pair from here.
Credentials credentialsFor(const QString &databasePath);

// What to write in the connection file, for the messages about it.
QString connectionFileHelp();

// A Firebird (QIBASE) connection named `connectionName` to `databasePath`
// with its pair; not opened yet.
QSqlDatabase addFirebirdConnection(const QString &connectionName, const QString &databasePath);
