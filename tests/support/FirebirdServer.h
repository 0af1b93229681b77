#pragma once

// A real Firebird server for the tests that need one: workstations sharing a
// database, copies made by a server.

#include "datamodule/Credentials.h"
#include "datamodule/SystemPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

// In a test function: skipped where no server is installed here, failed
// where `server` (a FirebirdServer) did not start.
#define REQUIRE_FIREBIRD_SERVER(server)                                                                               \
    do {                                                                                                              \
        if (!(server).missing.isEmpty())                                                                              \
            QSKIP(qPrintable((server).missing));                                                                      \
        QVERIFY2((server).failure.isEmpty(), qPrintable((server).failure));                                           \
    } while (false)

inline QString fbConfig(const char *option)
{
    QProcess p;
    p.start(QStringLiteral("fb_config"), {QString::fromLatin1(option)});
    return p.waitForFinished(10000) ? QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed() : QString();
}

// The stock Firebird server, run in a folder of its own: a firebird.conf
// with its port and the loopback address, its own security database with
// its administrator and the program's user, and the installation's plugins,
// messages and character sets. The folder stands for the drive root while
// the server runs, and its connection file names the administrator, who
// may open every database; a test of the program's own user writes its own.
class FirebirdServer
{
public:
    QString missing; // why there is no server binary, empty when there is one
    QString failure; // why it did not start

    // The server's administrator, and the user the README has a church create
    // for the program: it may create databases (a checked copy is restored
    // into a new file) and owns the ones it restores.
    const Credentials administrator{QStringLiteral("SYSDBA"), QStringLiteral("chave-do-servidor")};
    const Credentials programUser{QStringLiteral("KELMARA"), QStringLiteral("Senha do programa 1")};

    FirebirdServer()
    {
        const QString plugins = fbConfig("--pluginsdir");
        m_binary = fbConfig("--sbindir") + QStringLiteral("/firebird");
        if (plugins.isEmpty() || !QFileInfo(m_binary).isExecutable()) {
            missing = QStringLiteral("the Firebird server (package firebird3.0-server) is not installed");
            return;
        }
        m_port = 20000 + int(QCoreApplication::applicationPid() % 20000);
        SystemPaths::setDriveRoot(m_root.path());
        writeConnectionFile(administrator);
        linkInstallation(QFileInfo(plugins).path());
        writeConfiguration();
        if (failure.isEmpty())
            createSecurityDatabase();
        if (failure.isEmpty())
            start();
    }
    ~FirebirdServer()
    {
        m_server.kill();
        m_server.waitForFinished(10000);
        SystemPaths::setDriveRoot(QStringLiteral("/"));
    }

    // How a workstation names a database file on this server.
    QString address(const QString &path) const { return QStringLiteral("127.0.0.1/%1:%2").arg(m_port).arg(path); }

    // The connection file the program reads for a database on a server.
    void writeConnectionFile(const QByteArray &bytes) const
    {
        QFile file(SystemPaths::connectionFilePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    void writeConnectionFile(const Credentials &pair) const
    {
        writeConnectionFile((pair.userName + u'\n' + pair.password + u'\n').toUtf8());
    }

    // Gives the closed database file at `path` to the program's user, as the
    // README has a church do: a copy made by the embedded engine, restored
    // through this server by that user, who then owns it. Why it failed, or empty.
    QString restoreAsProgramUser(const QString &path) const
    {
        const QString copy = path + QStringLiteral(".fbk");
        QString why = tool({QStringLiteral("-b"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), path, copy});
        if (why.isEmpty() && QFile::remove(path))
            why = tool({QStringLiteral("-c"), QStringLiteral("-user"), programUser.userName, QStringLiteral("-password"),
                        programUser.password, copy, address(path)});
        QFile::remove(copy);
        return why;
    }

private:
    QString file(const QString &name) const { return m_root.filePath(name); }

    // Links to the installation's pieces, but for the character sets: the
    // engine loads those only from below its own root, so they are copied.
    void linkInstallation(const QString &installation)
    {
        for (const QFileInfo &entry : QDir(installation).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            const QString name = entry.fileName();
            if (name == QStringLiteral("intl"))
                copyFolder(entry.absoluteFilePath(), file(name));
            else if (!name.endsWith(QStringLiteral(".conf")) || name == QStringLiteral("plugins.conf"))
                QFile::link(entry.absoluteFilePath(), file(name));
        }
    }

    static void copyFolder(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::Files))
            QFile::copy(entry.canonicalFilePath(), to + u'/' + entry.fileName());
    }

    void writeConfiguration()
    {
        QFile conf(file(QStringLiteral("firebird.conf")));
        QFile aliases(file(QStringLiteral("databases.conf")));
        if (!conf.open(QIODevice::WriteOnly) || !aliases.open(QIODevice::WriteOnly)) {
            failure = QStringLiteral("cannot write the server configuration");
            return;
        }
        conf.write(QStringLiteral("RemoteServicePort = %1\nRemoteBindAddress = 127.0.0.1\nServerMode = Super\n"
                                  "SecurityDatabase = %2\n")
                       .arg(m_port)
                       .arg(file(QStringLiteral("security3.fdb")))
                       .toUtf8());
        QDir(m_root.path()).mkdir(QStringLiteral("lock"));
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("FIREBIRD"), m_root.path());
        m_environment.insert(QStringLiteral("FIREBIRD_LOCK"), file(QStringLiteral("lock")));
        m_environment.insert(QStringLiteral("FIREBIRD_TMP"), m_root.path());
    }

    // gbak with `arguments`: why it failed, or empty.
    static QString tool(const QStringList &arguments)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("gbak"), arguments);
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return {};
        return QStringLiteral("gbak %1: %2").arg(arguments.first(), QString::fromLocal8Bit(p.readAll()));
    }

    // An embedded connection under this configuration creates the security
    // database with the server's administrator and the program's user.
    void createSecurityDatabase()
    {
        const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
        QProcess p;
        p.setProcessEnvironment(m_environment);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(isql.isEmpty() ? QStringLiteral("isql") : isql, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA")});
        p.write(QStringLiteral("CREATE DATABASE '%1';\nCREATE USER %2 PASSWORD '%3' USING PLUGIN Srp;\n"
                               "CREATE USER %4 PASSWORD '%5' USING PLUGIN Srp;\nGRANT CREATE DATABASE TO USER %4;\n"
                               "COMMIT;\n")
                    .arg(file(QStringLiteral("security3.fdb")), administrator.userName, administrator.password,
                         programUser.userName, programUser.password)
                    .toUtf8());
        p.closeWriteChannel();
        if (!p.waitForFinished(30000) || p.exitCode() != 0 || !QFile::exists(file(QStringLiteral("security3.fdb"))))
            failure = QStringLiteral("cannot create the security database: ") + QString::fromLocal8Bit(p.readAll());
    }

    // Started when a connection to its own security database succeeds.
    void start()
    {
        m_server.setProcessEnvironment(m_environment);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(m_binary, {});
        m_server.waitForStarted(10000);
        const QString probe = QStringLiteral("sonda-servidor");
        for (int attempt = 0; attempt < 100 && m_server.state() == QProcess::Running; ++attempt) {
            bool opened = false;
            {
                QSqlDatabase db = addFirebirdConnection(probe, address(file(QStringLiteral("security3.fdb"))));
                opened = db.open();
                db.close();
            }
            QSqlDatabase::removeDatabase(probe);
            if (opened)
                return;
            QThread::msleep(100);
        }
        failure = QStringLiteral("the server did not start: ") + QString::fromLocal8Bit(m_server.readAll());
    }

    QTemporaryDir m_root;
    QString m_binary;
    int m_port = 0;
    QProcessEnvironment m_environment;
    QProcess m_server;
};
