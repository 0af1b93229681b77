#pragma once

#include <QString>
#include <functional>
#include <memory>

// A Firebird services manager session: the engine of this process for a
// local database file, or the server's for a database named "host:path".
// Each call starts one service and reads its output to the end (a service
// whose output is not read can stall and keep its files locked). Blocking:
// run it off the window thread when it may take long. DbError, with the
// engine's text, when the engine refuses or the service fails.
class FirebirdService
{
public:
    // `server` as a database name starts ("host:", "host/port:"), empty for
    // the engine of this process.
    explicit FirebirdService(const QString &server);
    ~FirebirdService();
    FirebirdService(const FirebirdService &) = delete;
    FirebirdService &operator=(const FirebirdService &) = delete;

    using LineHandler = std::function<void(const QString &line)>;

    // Paths are as the engine that runs the service sees them.
    void backup(const QString &database, const QString &backupFile, const LineHandler &onLine);
    // Into a new file, never over an existing one.
    void restore(const QString &backupFile, const QString &database, const LineHandler &onLine);
    // The engine's full validation of a database nobody else has open: the
    // lines of its summary that count errors (warnings are not errors);
    // empty when it found none.
    QString validationErrors(const QString &database);

private:
    void start(const QByteArray &request);
    void readOutput(const LineHandler &onLine);

    struct Session;
    std::unique_ptr<Session> m_session;
};

// Drops (deletes) a database file through the engine that serves it;
// `connectString` is "host:path" or a local path.
void dropDatabase(const QString &connectString);
