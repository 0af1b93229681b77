// Where the program looks for its database, how it connects, and how a
// refused connection and other errors reach the user.
#include "TestDatabase.h"

#include "uikit/ErrorGuard.h"
#include "uikit/Messages.h"
#include "signin/Startup.h"
#include "datamodule/SystemPaths.h"
#include "dataset/DbError.h"

#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// isql holding a database file open, as a second Kelmara would: the
// embedded engine in Super mode lets one process at a time have it. A
// computer whose firebird.conf says SuperClassic shares the file instead, so
// isql reads a firebird.conf of its own (FIREBIRD names its folder) that says
// Super. The engine's plugins stay where they were installed, and attaching
// needs no character set.
class FileHolder
{
public:
    explicit FileHolder(const QString &path)
    {
        writeFile(m_configuration.filePath("firebird.conf"), "ServerMode = Super\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("FIREBIRD", m_configuration.path());
        m_isql.setProcessEnvironment(environment);
        m_isql.start(QStandardPaths::findExecutable("isql-fb"), QStringList{"-q"} + engineToolArguments(path));
        m_isql.write("SELECT 'ABERTO' FROM RDB$DATABASE;\n");
        QByteArray output;
        while (!output.contains("ABERTO") && m_isql.waitForReadyRead(30000))
            output += m_isql.readAllStandardOutput();
        m_holding = output.contains("ABERTO");
    }
    ~FileHolder()
    {
        m_isql.write("QUIT;\n");
        m_isql.closeWriteChannel();
        m_isql.waitForFinished(30000);
    }
    bool holding() const { return m_holding; }

private:
    QTemporaryDir m_configuration;
    QProcess m_isql;
    bool m_holding = false;
};

#ifdef Q_OS_LINUX
// The main thread of process `pid` asleep in poll (an event loop waiting for
// input, here the start-up error box) for several looks in a row.
bool waitingInAnEventLoop(qint64 pid)
{
    int idleLooks = 0;
    for (int look = 0; look < 600 && idleLooks < 5; ++look) {
        QTest::qWait(50);
        QFile wchan(QString("/proc/%1/wchan").arg(pid));
        const bool polling = wchan.open(QIODevice::ReadOnly) && wchan.readAll().contains("poll");
        idleLooks = polling ? idleLooks + 1 : 0;
    }
    return idleLooks >= 5;
}
#endif

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root; // stands for the drive root "C:\"

    QString m_programsAliasFile; // the one the built program reads

private slots:
    void initTestCase()
    {
        setUpTestProgram();
        m_programsAliasFile = SystemPaths::aliasFilePath();
        SystemPaths::setDriveRoot(m_root.path());
    }

    void cleanup() { QFile::remove(SystemPaths::aliasFilePath()); }

    void fixedWindowsNamesLieBelowTheDriveRoot()
    {
        QCOMPARE(SystemPaths::aliasFilePath(), m_root.path() + "/aliaslivro.txt");
        QCOMPARE(SystemPaths::fixedPath("C:\\Kelmara\\Kelmara.bat"), m_root.path() + "/Kelmara/Kelmara.bat");
    }

    void databasePathFollowsTheAliasFile_data()
    {
        QTest::addColumn<QByteArray>("aliasContent");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder") << QByteArray("/srv/dados") << "/srv/dados/LIVRO.GDB";
        QTest::newRow("trailing separator kept, doubled") << QByteArray("/srv/dados/\n") << "/srv/dados//LIVRO.GDB";
        QTest::newRow("empty first line") << QByteArray("\n/srv/outro\n") << "/LIVRO.GDB";
        QTest::newRow("empty file") << QByteArray() << "/LIVRO.GDB";
        QTest::newRow("only the first line") << QByteArray("/a\n/b\n/c") << "/a/LIVRO.GDB";
        QTest::newRow("Windows line end") << QByteArray("/a\r\n/b") << "/a/LIVRO.GDB";
        QTest::newRow("blanks are part of the path") << QByteArray("  /a b  \n") << "  /a b  /LIVRO.GDB";
        QTest::newRow("Windows folder passed on unchanged") << QByteArray("D:\\Dados") << "D:\\Dados/LIVRO.GDB";
    }

    void databasePathFollowsTheAliasFile()
    {
        QFETCH(QByteArray, aliasContent);
        QFETCH(QString, expected);
        SystemPaths::setApplicationFolder("/opt/Kelmara/");
        writeFile(SystemPaths::aliasFilePath(), aliasContent);
        QCOMPARE(SystemPaths::databasePath(), expected);
    }

    void withoutAliasTheApplicationFolderHoldsTheDatabase()
    {
        SystemPaths::setApplicationFolder("/opt/Kelmara/");
        QCOMPARE(SystemPaths::databasePath(), QString("/opt/Kelmara/LIVRO.GDB"));
        QVERIFY(SystemPaths::executableFolder().endsWith('/'));
    }

    void dataModuleConnectsWhereTheAliasPoints()
    {
        TestDatabase db;
        writeFile(SystemPaths::aliasFilePath(), db.folder().toLocal8Bit() + "/\nignored");
        TDM dm(nullptr, "alias");
        QCOMPARE(dm.databasePath(), db.folder() + "//LIVRO.GDB");
        QVERIFY(dm.SQLConnection1().isOpen());
        dm.TBUSUARIO->open();
        QCOMPARE(dm.TBUSUARIOUSULOGIN->asString(), QString("master"));
    }

    void dataModuleOpensTheApplicationFolderDatabase()
    {
        TestDatabase db;
        SystemPaths::setApplicationFolder(db.folder() + "/");
        TDM dm(nullptr, "folder");
        QCOMPARE(dm.databasePath(), db.path());
        QCOMPARE(dm.connectionName(), QString("folder"));
        for (TableDataset *table : dm.tables()) {
            table->open(); // every table of the schema can be read
            QVERIFY2(table->active(), qPrintable(table->objectName()));
        }
    }

    void refusedConnectionNamesThePathAndEndsTheStart()
    {
        QTemporaryDir empty;
        writeFile(SystemPaths::aliasFilePath(), empty.path().toLocal8Bit());
        Messages::Recorder recorder;
        QObject owner;
        QVERIFY(!startDataModule(&owner));
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(recorder.shown[0].kind, Messages::Shown::Error);
        QVERIFY(recorder.shown[0].text.contains(empty.path() + "/LIVRO.GDB"));
        QVERIFY(!DM);
        QVERIFY(owner.children().isEmpty());
        // A later start on a good database still gets the connection name "LIVRO".
        TestDatabase db;
        writeFile(SystemPaths::aliasFilePath(), db.folder().toLocal8Bit());
        QVERIFY(startDataModule(&owner));
        QVERIFY(DM && DM->parent() == &owner);
        QCOMPARE(DM->connectionName(), QString("LIVRO"));
        delete DM;
        QVERIFY(!DM);
    }

    // Two clicks on the icon: the second start finds the file held by the
    // first and says so in Portuguese, with the engine's text after it.
    void aDatabaseOpenedByAnotherProgramSaysWhatToDo()
    {
        if (QStandardPaths::findExecutable("isql-fb").isEmpty())
            QSKIP("isql-fb (firebird3.0-utils) is not installed");
        TestDatabase db;
        db.disconnect();
        writeFile(SystemPaths::aliasFilePath(), db.folder().toLocal8Bit());
        QObject owner;
        {
            FileHolder first(db.path());
            QVERIFY(first.holding());
            Messages::Recorder recorder;
            QVERIFY(!startDataModule(&owner));
            QCOMPARE(recorder.shown.size(), 1);
            const QString text = recorder.shown[0].text;
            const QString expected = QString("O banco de dados \"%1\" já está aberto por outro programa neste computador. "
                                             "Feche o outro Kelmara (ou o programa que o usa) e tente de novo.\n\n(Firebird: ")
                                         .arg(db.folder() + "/LIVRO.GDB");
            QVERIFY2(text.startsWith(expected), qPrintable(text));
            QVERIFY(text.contains("Database already opened with engine instance"));
        }
        QVERIFY(startDataModule(&owner)); // the other program closed: the next start works
        delete DM;
    }

    // A stop request (the session ends) while the start-up error box waits
    // for its OK: the program ends at once, as if the box had been closed.
    void aStopSignalEndsTheProgramAtTheStartUpBox()
    {
#ifndef Q_OS_LINUX
        QSKIP("signals and /proc are Linux matters");
#else
        if (QFile::exists(m_programsAliasFile))
            QSKIP("an alias file on this computer points the program at a database");
        QTemporaryDir folder; // the program's folder, without LIVRO.GDB
        const QString program = folder.filePath("kelmara");
        QVERIFY(QFile::copy(KELMARA_PROGRAM, program));
        QProcess kelmara;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        kelmara.setProcessEnvironment(environment);
        kelmara.start(program, {});
        QVERIFY(kelmara.waitForStarted());
        QVERIFY(waitingInAnEventLoop(kelmara.processId()));
        kelmara.terminate(); // SIGTERM
        QVERIFY2(kelmara.waitForFinished(20000), "still running after SIGTERM");
        QCOMPARE(kelmara.exitStatus(), QProcess::NormalExit);
        QCOMPARE(kelmara.exitCode(), 1); // the start ended as after a refused connection
#endif
    }

    void unreadableAliasFileIsReported()
    {
        QDir(m_root.path()).mkdir("aliaslivro.txt"); // exists, but cannot be read as a file
        try {
            SystemPaths::databasePath();
            QFAIL("no error");
        } catch (const DbError &e) {
            QVERIFY(e.text().contains("aliaslivro.txt"));
        }
        QDir(m_root.path()).rmdir("aliaslivro.txt");
    }

    void guardedActionsShowTheLayerMessage()
    {
        Messages::Recorder recorder;
        bool ranOn = false;
        QVERIFY(!runGuarded([] { throw DbError("Preencha o campo MEMCODIGO."); }));
        QVERIFY(runGuarded([&] { ranOn = true; }));
        QVERIFY(ranOn);
        QCOMPARE(recorder.texts(), QStringList{"Preencha o campo MEMCODIGO."});
        QCOMPARE(recorder.shown[0].caption, QString("KELMARA"));
    }

    // The real boxes, answered by a timer as a user would.
    void messageBoxesHaveTheirCaptionsButtonsAndDefaults()
    {
        QString caption;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        const auto inspectAndPress = [&](QMessageBox::StandardButton press) {
            QTimer::singleShot(0, [&, press] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                caption = box->windowTitle();
                icon = box->icon();
                defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
                box->button(press)->click();
            });
        };
        inspectAndPress(QMessageBox::No);
        QVERIFY(!Messages::question("Você realmente deseja excluir este registro ?"));
        QCOMPARE(caption, QString("Atenção"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(defaultButton, QMessageBox::No);

        inspectAndPress(QMessageBox::Yes);
        QVERIFY(Messages::question("?"));

        inspectAndPress(QMessageBox::Ok);
        Messages::information("Senha ou Login Incorretos !");
        QCOMPARE(caption, QString("KELMARA"));
        QCOMPARE(icon, QMessageBox::NoIcon);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
