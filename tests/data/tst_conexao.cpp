// The connection file of a database on a real Firebird server: missing,
// unreadable, incomplete or refused, it is said in Portuguese with its name
// and what to write in it; with the program's own user (the owner of the
// database, not SYSDBA) the program opens and writes its tables, brings an
// older database up to date and makes its checked copy on the server.
#include "FirebirdServer.h"
#include "TestDatabase.h"

#include "datamodule/SchemaUpgrade.h"
#include "main/StartupUpgrade.h"
#include "uikit/Messages.h"

#include <QtTest>

class TestConexao : public QObject
{
    Q_OBJECT
    std::unique_ptr<FirebirdServer> server;

private slots:
    void initTestCase()
    {
        setUpTestProgram();
        server = std::make_unique<FirebirdServer>();
        REQUIRE_FIREBIRD_SERVER(*server);
    }

    void cleanup()
    {
        QDir(SystemPaths::connectionFilePath()).removeRecursively();
        server->writeConnectionFile(server->administrator);
    }

    void aFileThatDoesNotOpenTheServerSaysWhatToWrite_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file; "/": a folder in its place
        QTest::addColumn<QString>("said");
        QTest::newRow("missing") << QByteArray() << "não existe";
        QTest::newRow("a folder") << QByteArray("/") << "não pôde ser lido";
        QTest::newRow("empty") << QByteArray("") << "não tem o usuário e a senha";
        QTest::newRow("the user only") << QByteArray("KELMARA\n") << "não tem o usuário e a senha";
        QTest::newRow("wrong password") << QByteArray("KELMARA\r\nerrada\r\n") << "recusou o usuário e a senha";
        QTest::newRow("unknown user") << QByteArray("NINGUEM\nSenha do programa 1\n") << "recusou o usuário e a senha";
    }

    void aFileThatDoesNotOpenTheServerSaysWhatToWrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        TestDatabase db;
        db.disconnect();
        QFile::remove(SystemPaths::connectionFilePath());
        if (content == "/")
            QDir().mkpath(SystemPaths::connectionFilePath());
        else if (!content.isNull())
            server->writeConnectionFile(content);
        const QString error = dbErrorOf([&] { TDM(nullptr, QStringLiteral("conexao"), server->address(db.path())); });
        for (const QString &part : {said, QDir::toNativeSeparators(SystemPaths::connectionFilePath()),
                                    QStringLiteral("Escreva nele duas linhas")})
            QVERIFY2(error.contains(part), qPrintable(error));
    }

    // The program's user on a database it was not given: said at the first table.
    void aDatabaseNotOwnedByTheProgramsUser()
    {
        TestDatabase db;
        db.disconnect();
        server->writeConnectionFile(server->programUser);
        TDM workstation(nullptr, QStringLiteral("estacao"), server->address(db.path()));
        const QString error = dbErrorOf([&] { workstation.TBMEMBRO->open(); });
        QVERIFY2(error.contains("ele precisa ser o dono do banco de dados"), qPrintable(error));
    }

    void theProgramsOwnUserDoesTheProgramsWork()
    {
        TestDatabase db(TestDatabase::levelTemplate(1));
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
        db.disconnect();
        QCOMPARE(server->restoreAsProgramUser(db.path()), QString());
        server->writeConnectionFile(server->programUser);

        TDM workstation(nullptr, QStringLiteral("estacao"), server->address(db.path()));
        Messages::Recorder messages;
        QVERIFY(StartupUpgrade::run(workstation));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains("antes-da-atualizacao")
                     && messages.shown[0].text.contains("peça a quem cuida dele que o refaça"),
                 qPrintable(messages.shown[0].text));
        QVERIFY(SchemaUpgrade::available(workstation.SQLConnection1(), SchemaUpgrade::kLevel));
        TableDataset *members = workstation.TBMEMBRO;
        members->open();
        QCOMPARE(members->recordCount(), 1);
        members->insert();
        workstation.TBMEMBROMEMCODIGO->setAsInteger(2);
        workstation.TBMEMBROMEMNOME->setAsString(QStringLiteral("BRUNO"));
        members->applyUpdates(0);
        members->close();
        members->open();
        QCOMPARE(members->recordCount(), 2);
    }
};

QTEST_MAIN(TestConexao)
#include "tst_conexao.moc"
