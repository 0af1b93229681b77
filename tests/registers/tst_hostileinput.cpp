// Careless and hostile input: texts the database cannot hold, huge pastes,
// an oversized photograph, a read-only database file and a full disk. Each
// gives a Portuguese message, the program goes on, and what is stored stays.
#include "Invariants.h"
#include "RegisterFixture.h"
#include "SmallDisk.h"

#include "uikit/Messages.h"
#include "controls/DBEdit.h"
#include "controls/DBImage.h"
#include "dataset/DbError.h"
#include "registers/UMembro.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

#include <unistd.h>

namespace {

struct Program : SignedInProgram
{
    std::unique_ptr<TFMembro> open() { return SignedInProgram::open<TFMembro>(); }
    QVariant stored(const char *column, int code = 1) const
    {
        return fx.db.scalar(QStringLiteral("SELECT %1 FROM TMEMBRO WHERE MEMCODIGO = ?").arg(QLatin1String(column)),
                            {code});
    }
};

QByteArray smallPng()
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray checksum(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void textsTheDatabaseCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addRow("emoji") << QStringLiteral("MARIA 😀") << QStringLiteral("não pode ser gravado no banco");
        QTest::addRow("grego") << QStringLiteral("ΩMEGA") << QStringLiteral("não pode ser gravado no banco");
        QTest::addRow("controle") << QStringLiteral("ANA\x01 SILVA") << QStringLiteral("caractere de controle");
        QTest::addRow("nulo") << QStringLiteral("ANA") + QChar(0) + QStringLiteral("B") << QStringLiteral("caractere de controle");
    }

    void textsTheDatabaseCannotHoldAreRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Program p;
        Messages::Recorder recorder;
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'PEDRO')");
        auto w = p.open();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        pasteInto(w->DBEdit2, typed);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 1);
        QVERIFY2(recorder.shown[0].text.contains(message), qPrintable(recorder.shown[0].text));
        QVERIFY(w->btnSalvar->isEnabled()); // still editing: the user corrects it
        QCOMPARE(p.stored("MEMNOME").toString(), QStringLiteral("PEDRO"));

        pasteInto(w->DBEdit2, QStringLiteral("PEDRO PAULO"));
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(p.stored("MEMNOME").toString(), QStringLiteral("PEDRO PAULO"));
    }

    void tenThousandCharacterPastesAreCutToTheColumn()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QString paste;
        for (int i = 0; paste.size() < 10000; ++i)
            paste += QStringLiteral("JOSÉ %1 ").arg(i);
        pasteInto(w->DBEdit2, paste);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        pasteInto(w->DBEdit3, paste);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(p.stored("MEMNOME").toString(), paste.left(50));
        QCOMPARE(p.stored("MEMENDERECO").toString(), paste.left(50));
    }

    void photographAboveTheLimitIsRefused()
    {
        Program p;
        Messages::Recorder recorder;
        const QByteArray photo = smallPng();
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (1, 'PEDRO', ?)", {photo});
        // A picture followed by 50 MB, as a camera's raw export may be.
        QByteArray huge = photo;
        huge.append(QByteArray(50 * 1024 * 1024, '\0'));
        p.fx.writeFile("C:\\Fotos\\enorme.png", huge);
        huge.clear();
        const QString path = p.fx.fixedPath("C:\\Fotos\\enorme.png");
        TFMembro::choosePicture = [path](QWidget *) { return path; };
        auto w = p.open();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnFoto->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        TFMembro::choosePicture = &TFMembro::openPictureDialog;
        QCOMPARE(recorder.shown.size(), 1);
        QVERIFY2(recorder.shown[0].text.contains(QStringLiteral("tamanho máximo é 16 MB")),
                 qPrintable(recorder.shown[0].text));
        QCOMPARE(DM->TBMEMBROMEMFOTO->asBytes(), photo);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.stored("MEMFOTO").toByteArray(), photo);
    }

    // The engine refuses to open a file it cannot write; the message says
    // why in Portuguese and the file stays as it was.
    void readOnlyDatabaseFileIsRefusedInPortuguese()
    {
        TestDatabase db;
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'PEDRO')");
        db.disconnect();
        QTemporaryDir dir;
        SmallDisk disk(dir.path(), 8);
        const QString file = dir.filePath(QStringLiteral("LIVRO.GDB"));
        QVERIFY(QFile::copy(db.path(), file));
        if (disk.mounted)
            QVERIFY(disk.makeReadOnly());
        else if (geteuid() == 0)
            QSKIP(kNeedsRoot);
        else
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        const QByteArray before = checksum(file);
        const QString error = dbErrorOf([&] { TDM dm(nullptr, QStringLiteral("somente-leitura"), file); });
        QVERIFY2(error.contains(QStringLiteral("somente leitura")), qPrintable(error));
        QCOMPARE(checksum(file), before);
    }

    // A save that fills the disk is refused and rolled back; the change stays
    // pending and goes through once there is room again.
    void fullDiskRefusesTheSaveAndKeepsTheChange()
    {
        TestDatabase db;
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'PEDRO')");
        db.disconnect();
        QTemporaryDir dir;
        SmallDisk disk(dir.path(), 4);
        if (!disk.mounted)
            QSKIP(kNeedsRoot);
        const QString file = dir.filePath(QStringLiteral("LIVRO.GDB"));
        QVERIFY(QFile::copy(db.path(), file));
        {
            TDM dm(nullptr, QStringLiteral("disco-cheio"), file);
            dm.TBMEMBRO->open();
            disk.fill();
            dm.TBMEMBRO->insert();
            dm.TBMEMBROMEMCODIGO->setAsInteger(2);
            dm.TBMEMBROMEMNOME->setAsString(QStringLiteral("MARIA"));
            dm.TBMEMBROMEMFOTO->setAsBytes(QByteArray(1024 * 1024, 'f'));
            dm.TBMEMBRO->post();
            const QString error = dbErrorOf([&] { dm.TBMEMBRO->applyUpdates(0); });
            QVERIFY2(error.contains(QStringLiteral("Não há espaço livre no disco")), qPrintable(error));
            QVERIFY(dm.TBMEMBRO->hasPendingChanges());

            disk.freeSpace();
            dm.TBMEMBRO->applyUpdates(0);
        }
        TDM check(nullptr, QStringLiteral("conferencia"), file);
        check.TBMEMBRO->open();
        QStringList names;
        for (check.TBMEMBRO->first(); !check.TBMEMBRO->eof(); check.TBMEMBRO->next())
            names << check.TBMEMBROMEMNOME->asString() + u'/' + QString::number(check.TBMEMBROMEMFOTO->asBytes().size());
        names.sort();
        QCOMPARE(names, QStringList({QStringLiteral("MARIA/1048576"), QStringLiteral("PEDRO/0")}));
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
