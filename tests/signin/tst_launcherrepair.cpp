// The launcher batch file is kept reduced to its one launcher line.
#include "ProgramFixture.h"

#include "dataset/DbError.h"
#include "signin/LauncherRepair.h"

#include <QtTest>

using LauncherRepair::Form;

class TestLauncherRepair : public QObject
{
    Q_OBJECT

    const QString batch = QStringLiteral("C:\\Kelmara\\Kelmara.bat");
    const QByteArray written = "START c:\\Kelmara\\Kelmara.exe\r\n";

private slots:
    void initTestCase() { setUpTestProgram(); }

    void repairs_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<bool>("serverMarker");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const int plain = int(Form::Plain), server = int(Form::ServerMarker);
        const QByteArray good = "START c:\\Kelmara\\Kelmara.exe";
        QTest::newRow("capital C rewritten") << plain << false << QByteArray("START C:\\Kelmara\\Kelmara.exe\r\n") << written;
        QTest::newRow("right line, extra lines kept") << plain << false << good + "\r\nECHO x\r\n" << good + "\r\nECHO x\r\n";
        QTest::newRow("right line, Unix line end kept") << plain << false << good + "\n" << good + "\n";
        QTest::newRow("empty file rewritten") << plain << false << QByteArray() << written;
        QTest::newRow("other lines dropped") << plain << false << QByteArray("PAUSE\r\n") + good << written;
        QTest::newRow("trailing blank rewritten") << plain << false << good + " \r\n" << written;
        QTest::newRow("closing without marker: untouched") << server << false << QByteArray("PAUSE\r\n") << QByteArray("PAUSE\r\n");
        QTest::newRow("closing with marker: rewritten") << server << true << QByteArray("PAUSE\r\n") << written;
        QTest::newRow("sign-in ignores the marker") << plain << true << QByteArray("PAUSE") << written;
    }

    void repairs()
    {
        QFETCH(int, form);
        QFETCH(bool, serverMarker);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        ProgramFixture fx;
        fx.writeFile(batch, before);
        if (serverMarker)
            fx.writeFile(LauncherRepair::kServerMarker, "leia-me");
        LauncherRepair::run(Form(form));
        QCOMPARE(fx.readFile(batch), after);
    }

    void missingBatchFileIsNeverCreated()
    {
        ProgramFixture fx;
        fx.writeFile(LauncherRepair::kServerMarker, "leia-me");
        LauncherRepair::run(Form::Plain);
        LauncherRepair::run(Form::ServerMarker);
        QVERIFY(!QFile::exists(fx.fixedPath(batch)));
    }

    void unreadableBatchFileIsReported()
    {
        ProgramFixture fx;
        QDir().mkpath(fx.fixedPath(batch)); // a folder where the file should be
        QVERIFY_THROWS_EXCEPTION(DbError, LauncherRepair::run(Form::Plain));
    }
};

QTEST_MAIN(TestLauncherRepair)
#include "tst_launcherrepair.moc"
