// The lock folder a build names for the embedded engine: it reaches the
// engine when nothing else names one, and only if set before the process's
// first connection, which is when the engine reads it.
#include "TestDatabase.h"

#include "datamodule/EngineLocks.h"

#include <QDir>
#include <QtTest>

class TestEngineLocks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_locks;

private slots:
    void initTestCase()
    {
        setUpTestProgram();
        qunsetenv("FIREBIRD_LOCK");
    }

    void aFolderNamedByTheEnvironmentIsKept()
    {
        qputenv("FIREBIRD_LOCK", "/srv/travas");
        EngineLocks::useFolder(m_locks.path(), false);
        QCOMPARE(qgetenv("FIREBIRD_LOCK"), QByteArray("/srv/travas"));
        qunsetenv("FIREBIRD_LOCK");
    }

    void rootAndAnEmptyFolderKeepTheEnginesDefault()
    {
        EngineLocks::useFolder(m_locks.path(), true);
        QVERIFY(!qEnvironmentVariableIsSet("FIREBIRD_LOCK"));
        EngineLocks::useFolder(QString(), false);
        QVERIFY(!qEnvironmentVariableIsSet("FIREBIRD_LOCK"));
    }

    void theEngineKeepsItsLockFilesInTheNamedFolder()
    {
        EngineLocks::useFolder(m_locks.path(), false);
        TestDatabase db; // the first connection of this process
        QCOMPARE(db.scalar("SELECT USULOGIN FROM TUSUARIO").toString(), QString("master"));
        QVERIFY2(QDir(m_locks.path()).entryList(QDir::Files).contains("fb_init"),
                 qPrintable(QDir(m_locks.path()).entryList().join(' ')));
    }
};

QTEST_MAIN(TestEngineLocks)
#include "tst_enginelocks.moc"
