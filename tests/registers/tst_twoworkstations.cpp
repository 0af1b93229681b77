// Two workstations on one database through a real Firebird server: the
// stock server started on the loopback with its own configuration, port and
// security database, and two data modules connected to it as two program
// instances would be.
#include "Invariants.h"
#include "FirebirdServer.h"
#include "RegisterFixture.h"

#include "uikit/Messages.h"
#include "controls/DBEdit.h"
#include "controls/DBImage.h"
#include "dataset/DbError.h"
#include "registers/UMembro.h"

#include <QBuffer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

namespace {

// One workstation: its own data module, connected through the server.
struct Workstation
{
    Workstation(const QString &name, const QString &address) : dm(std::make_unique<TDM>(nullptr, name, address)) {}
    std::unique_ptr<TDM> dm;

    // The members register of this workstation, shown.
    std::unique_ptr<TFMembro> members()
    {
        DM = dm.get();
        auto w = std::make_unique<TFMembro>(nullptr);
        w->show();
        return w;
    }
};

} // namespace

// Both workstations, after each step of a test.
#define NOTHING_UNAPPLIED_ON_EITHER()                    \
    ASSERT_NO_UNAPPLIED_CHANGES(first->dm.get());        \
    ASSERT_NO_UNAPPLIED_CHANGES(second->dm.get())

class TestTwoWorkstations : public QObject
{
    Q_OBJECT
    std::unique_ptr<FirebirdServer> server;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Workstation> first, second;

    // What the database holds, read through the server by a third connection.
    QStringList stored(const QString &sql)
    {
        Workstation reader(QStringLiteral("leitor"), server->address(db->path()));
        QSqlQuery q(reader.dm->SQLConnection1());
        QStringList lines;
        if (!q.exec(sql))
            return {q.lastError().text()};
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            lines << values.join(u'|');
        }
        return lines;
    }

private slots:
    void initTestCase()
    {
        setUpTestProgram();
        server = std::make_unique<FirebirdServer>();
        REQUIRE_FIREBIRD_SERVER(*server);
    }

    void init()
    {
        db = std::make_unique<TestDatabase>();
        db->exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMTELEFONERES) VALUES (1, 'PEDRO', '1111')");
        db->exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVANO, LIVDESCRICAO) VALUES (1, 5, 2011, 'MAIO')");
        db->exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR) VALUES (1, 'DIZIMO', 1, 100)");
        db->disconnect(); // the server has the file from now on
        first = std::make_unique<Workstation>(QStringLiteral("estacao1"), server->address(db->path()));
        second = std::make_unique<Workstation>(QStringLiteral("estacao2"), server->address(db->path()));
    }

    void cleanup()
    {
        first.reset();
        second.reset();
        db.reset();
    }

    void secondSaveOfTheSameMemberIsRefusedAndStaysOnScreen()
    {
        Messages::Recorder recorder;
        auto one = first->members();
        auto two = second->members();
        one->btnAlterar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnAlterar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        pasteInto(one->DBEdit2, QStringLiteral("PEDRO PAULO"));
        NOTHING_UNAPPLIED_ON_EITHER();
        one->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        pasteInto(two->DBEdit4, QStringLiteral("2222"));
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();

        QCOMPARE(recorder.texts(), QStringList{QString::fromUtf8(kRowChangedByOtherUser)});
        QVERIFY(two->btnSalvar->isEnabled());
        QCOMPARE(two->DBEdit4->text(), QStringLiteral("2222"));
        QCOMPARE(stored("SELECT MEMNOME, MEMTELEFONERES FROM TMEMBRO"), QStringList{"PEDRO PAULO|1111"});

        // Redone on what the other workstation stored, it goes through.
        two->btnCancelarClick();
        second->dm->TBMEMBRO->close();
        second->dm->TBMEMBRO->open();
        two->btnAlterar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        pasteInto(two->DBEdit4, QStringLiteral("2222"));
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        QCOMPARE(recorder.texts().size(), 1);
        QCOMPARE(stored("SELECT MEMNOME, MEMTELEFONERES FROM TMEMBRO"), QStringList{"PEDRO PAULO|2222"});
    }

    void secondSaveOfTheSameMovementOrBookIsRefused_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("query");
        QTest::addRow("movimentação") << "TBMOVIMENTACOES" << "MOVDESCRICAO" << "SELECT MOVDESCRICAO FROM TMOVIMETACOES";
        QTest::addRow("livro") << "TBLIVRO" << "LIVDESCRICAO" << "SELECT LIVDESCRICAO FROM TLIVRO";
    }

    void secondSaveOfTheSameMovementOrBookIsRefused()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, query);
        const auto change = [&](Workstation &w, const QString &text) {
            TableDataset *tb = w.dm->findChild<TableDataset *>(table);
            tb->open();
            tb->edit();
            tb->fieldByName(column)->setAsString(text);
            tb->post();
            return tb;
        };
        TableDataset *one = change(*first, QStringLiteral("PRIMEIRA"));
        TableDataset *two = change(*second, QStringLiteral("SEGUNDA"));
        one->applyUpdates(0);
        QCOMPARE(dbErrorOf([&] { two->applyUpdates(0); }), QString::fromUtf8(kRowChangedByOtherUser));
        two->revertToEdit();
        QCOMPARE(two->state(), Dataset::State::Edit);
        QCOMPARE(two->fieldByName(column)->asString(), QStringLiteral("SEGUNDA"));
        QCOMPARE(stored(query), QStringList{"PRIMEIRA"});
    }

    void insertsOfOneAreSeenByTheOtherAfterARead()
    {
        Messages::Recorder recorder;
        auto one = first->members();
        auto two = second->members();
        one->btnNovo->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        pasteInto(one->DBEdit2, QStringLiteral("MARIA"));
        NOTHING_UNAPPLIED_ON_EITHER();
        one->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        QVERIFY(!second->dm->TBMEMBRO->locate(QStringLiteral("MEMNOME"), {QStringLiteral("MARIA")}));
        second->dm->TBMEMBRO->close();
        second->dm->TBMEMBRO->open();
        QVERIFY(second->dm->TBMEMBRO->locate(QStringLiteral("MEMNOME"), {QStringLiteral("MARIA")}));
        QVERIFY(recorder.texts().isEmpty());
    }

    // A photograph is fetched from the server when a member becomes current:
    // changed on one workstation, the other shows the new one once it reads
    // the table again, and the picture box of its window shows it.
    void aPictureChangedOnOneIsReadFreshOnTheOtherAfterARead()
    {
        auto png = [](QSize size) {
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
            return bytes;
        };
        auto two = second->members();
        QVERIFY(!two->Foto->hasPicture());
        TableDataset *members = first->dm->TBMEMBRO;
        members->open();
        for (const QSize size : {QSize(200, 100), QSize(90, 60)}) {
            members->edit();
            first->dm->TBMEMBROMEMFOTO->setAsBytes(png(size));
            members->applyUpdates(0);
            NOTHING_UNAPPLIED_ON_EITHER();
            second->dm->TBMEMBRO->close();
            second->dm->TBMEMBRO->open();
            QCOMPARE(second->dm->TBMEMBROMEMFOTO->asBytes(), png(size));
            QCOMPARE(two->Foto->pictureSize(), size);
        }
    }

    // Both press Novo at once and get the same code: the second save is
    // refused for the duplicate code, the first member stays, and Novo again
    // gives the next free code.
    void novoAtOnceOnBothRefusesTheDuplicateCode()
    {
        Messages::Recorder recorder;
        auto one = first->members();
        auto two = second->members();
        one->btnNovo->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnNovo->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        QCOMPARE(one->DBEdit1->text(), QStringLiteral("2"));
        QCOMPARE(two->DBEdit1->text(), QStringLiteral("2"));
        pasteInto(one->DBEdit2, QStringLiteral("MARIA"));
        NOTHING_UNAPPLIED_ON_EITHER();
        one->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        pasteInto(two->DBEdit2, QStringLiteral("JOANA"));
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();

        QCOMPARE(recorder.shown.size(), 1);
        QVERIFY2(recorder.shown[0].text.startsWith(QStringLiteral("Já existe um registro com este código")),
                 qPrintable(recorder.shown[0].text));
        QCOMPARE(two->DBEdit2->text(), QStringLiteral("JOANA"));
        QCOMPARE(stored("SELECT MEMCODIGO, MEMNOME FROM TMEMBRO ORDER BY MEMCODIGO"),
                 QStringList({"1|PEDRO", "2|MARIA"}));

        two->btnCancelar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnNovo->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        QCOMPARE(two->DBEdit1->text(), QStringLiteral("3"));
        pasteInto(two->DBEdit2, QStringLiteral("JOANA"));
        NOTHING_UNAPPLIED_ON_EITHER();
        two->btnSalvar->click();
        NOTHING_UNAPPLIED_ON_EITHER();
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(stored("SELECT MEMCODIGO, MEMNOME FROM TMEMBRO ORDER BY MEMCODIGO"),
                 QStringList({"1|PEDRO", "2|MARIA", "3|JOANA"}));
    }
};

QTEST_MAIN(TestTwoWorkstations)
#include "tst_twoworkstations.moc"
