#pragma once

#include <QString>

// Where a database lies: a file of this computer, opened by the engine in
// this process, or a file on a Firebird server ("host:path",
// "host/port:path", "inet://host/path").
struct DatabaseLocation
{
    QString server; // "host:" (as written, up to the path); empty for a local file
    QString file;   // the file as the engine that opens it sees it

    static DatabaseLocation of(const QString &databasePath);
    bool onServer() const { return !server.isEmpty(); }
    QString name(const QString &otherFile) const { return server + otherFile; } // a file on the same engine
    QString folder() const; // of `file`, with the separator it uses
};
