#include "TestDatabase.h"

#include "dataset/DbError.h"

#include <QtTest>

namespace {

// Members with codes 1, 2, ... and these names.
void addMembers(const TestDatabase &db, const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i)
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (?, ?)", {i + 1, names[i]});
}

// A control bound to a data source; what it does when asked for its value is up to the test.
struct FakeLink : DataLink
{
    std::function<void()> onUpdate;
    void updateRecord() override { onUpdate(); }
};

} // namespace

class TestTableDataset : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void insertPostApplyReachesTheDatabase()
    {
        TestDatabase db;
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        tb->open();
        QCOMPARE(tb->recordCount(), 0);
        tb->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(1);
        dm->TBMEMBROMEMNOME->setAsString(QStringLiteral("JOÃO DA SILVA ÇÉ €"));
        dm->TBMEMBROMEMDATANASC->setAsString(QStringLiteral("03/02/1980"));
        tb->post();
        tb->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT MEMNOME FROM TMEMBRO WHERE MEMCODIGO = 1").toString(),
                 QStringLiteral("JOÃO DA SILVA ÇÉ €"));
        QCOMPARE(db.scalar("SELECT MEMDATANASC FROM TMEMBRO").toDate(), QDate(1980, 2, 3));
        tb->close();
        tb->open();
        QCOMPARE(tb->recordCount(), 1);
        QCOMPARE(dm->TBMEMBROMEMNOME->asString(), QStringLiteral("JOÃO DA SILVA ÇÉ €"));
    }

    void openNavigateClose()
    {
        TestDatabase db;
        addMembers(db, {"ANA", "BRUNO", "CARLA"});
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        Field *name = dm->TBMEMBROMEMNOME;
        tb->open();
        QCOMPARE(tb->currentIndex(), 0);
        QVERIFY(tb->bof() && !tb->eof());
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"ANA", "BRUNO", "CARLA"}));
        QVERIFY(tb->eof());
        QCOMPARE(name->asString(), "CARLA"); // next on the last row stays there
        tb->prior();
        QVERIFY(!tb->eof() && !tb->bof());
        QCOMPARE(name->asString(), "BRUNO");
        tb->first();
        tb->prior();
        QVERIFY(tb->bof());
        QCOMPARE(name->asString(), "ANA");
        tb->last();
        QVERIFY(tb->eof() && !tb->bof());
        QCOMPARE(name->asString(), "CARLA");

        tb->edit();
        name->setAsString("CARLA MARIA");
        tb->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(9);
        tb->post();
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (4, 'DANIEL')");
        tb->close();
        QVERIFY(!tb->active() && !tb->hasPendingChanges());
        QCOMPARE(tb->recordCount(), 0);
        tb->open();
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"ANA", "BRUNO", "CARLA", "DANIEL"}));
        QVERIFY(!tb->hasPendingChanges());

        tb->close();
        db.exec("DELETE FROM TMEMBRO");
        tb->open();
        QVERIFY(tb->bof() && tb->eof());
        QCOMPARE(tb->currentIndex(), -1);
        QVERIFY(name->isNull());
        QVERIFY(!dbErrorOf([&] { tb->del(); }).isEmpty());
        QCOMPARE(tb->state(), Dataset::State::Browse);
        QVERIFY(!tb->hasPendingChanges());
        tb->edit(); // nothing to edit: a new row
        QCOMPARE(tb->state(), Dataset::State::Insert);
    }

    void insertEditPostCancelDelete()
    {
        TestDatabase db;
        addMembers(db, {"ANA", "BRUNO"});
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        Field *code = dm->TBMEMBROMEMCODIGO;
        Field *name = dm->TBMEMBROMEMNOME;
        tb->open();

        tb->insert();
        QCOMPARE(tb->state(), Dataset::State::Insert);
        QVERIFY(code->isNull() && name->isNull());
        code->setAsInteger(3);
        name->setAsString("CARLA");
        tb->post();
        QCOMPARE(tb->state(), Dataset::State::Browse);
        QCOMPARE(name->asString(), "CARLA");
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"ANA", "BRUNO", "CARLA"}));

        tb->first();
        tb->edit();
        QCOMPARE(tb->state(), Dataset::State::Edit);
        name->setAsString("ANA MARIA");
        tb->cancel();
        QCOMPARE(name->asString(), "ANA");

        const size_t pending = tb->changes().size();
        tb->post(); // in browse mode: nothing
        tb->cancel();
        QCOMPARE(tb->changes().size(), pending);

        tb->edit();
        name->setAsString("ANA MARIA");
        tb->next(); // moving on posts the row first
        QCOMPARE(tb->state(), Dataset::State::Browse);
        QCOMPARE(name->asString(), "BRUNO");

        tb->insert();
        code->setAsInteger(4);
        name->setAsString("DANIEL");
        QVERIFY(tb->locate("MEMNOME", {"BRUNO"})); // so does locate
        QCOMPARE(tb->recordCount(), 4);
        tb->insert();
        code->setAsInteger(5);
        tb->del(); // deleting the row being inserted only drops it
        QCOMPARE(tb->state(), Dataset::State::Browse);
        QCOMPARE(tb->recordCount(), 4);
        QCOMPARE(name->asString(), "BRUNO");

        tb->del();
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"ANA MARIA", "CARLA", "DANIEL"}));
    }

    void postRequiresTheCodeAndAsksTheLinksFirst()
    {
        TestDatabase db;
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        Field *name = dm->TBMEMBROMEMNOME;
        tb->open();
        tb->insert();
        name->setAsString("ANA");
        QCOMPARE(dbErrorOf([&] { tb->post(); }), "Preencha o campo MEMCODIGO.");
        QCOMPARE(tb->state(), Dataset::State::Insert);

        // Controls still holding what was typed, on the module's and on a window's own source.
        FakeLink codeBox, nameBox;
        codeBox.onUpdate = [&] { dm->TBMEMBROMEMCODIGO->setAsInteger(7); };
        nameBox.onUpdate = [&] { name->setAsString("ANA PAULA"); };
        DataSource windowSource(tb);
        dm->DSMEMBRO->addLink(&codeBox);
        windowSource.addLink(&nameBox);
        tb->post();
        QCOMPARE(tb->state(), Dataset::State::Browse);
        QCOMPARE(dm->TBMEMBROMEMCODIGO->asInteger(), 7);
        QCOMPARE(name->asString(), "ANA PAULA");

        windowSource.removeLink(&nameBox);
        tb->edit();
        name->setAsString("BEATRIZ");
        codeBox.onUpdate = [] { throw DbError("'x' não é um número inteiro válido."); };
        QCOMPARE(dbErrorOf([&] { tb->post(); }), "'x' não é um número inteiro válido.");
        QCOMPARE(tb->state(), Dataset::State::Edit);
        QCOMPARE(name->asString(), "BEATRIZ");
        tb->cancel();
        QCOMPARE(name->asString(), "ANA PAULA");
        dm->DSMEMBRO->removeLink(&codeBox);
    }

    void textWrites_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored"); // what the field and the database hold then; null for NULL
        QTest::addColumn<bool>("refused");

        QTest::newRow("cut to width") << "MEMUF" << "SPX" << QVariant("SP") << false;
        QTest::newRow("cut to width, accented") << "MEMUF" << "ÃÉI" << QVariant("ÃÉ") << false;
        QTest::newRow("empty is NULL") << "MEMNOME" << "" << QVariant() << false;
        QTest::newRow("greek letter") << "MEMNOME" << "Ω" << QVariant("ANTES") << true;
        QTest::newRow("emoji") << "MEMNOME" << "ANA 😀" << QVariant("ANTES") << true;
    }

    void textWrites()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        QFETCH(bool, refused);
        TestDatabase db;
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMUF) VALUES (1, 'ANTES', 'RJ')");
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        Field *field = tb->fieldByName(column);
        tb->open();
        QVERIFY(!dbErrorOf([&] { field->setAsString(typed); }).isEmpty()); // browse mode
        tb->edit();
        const QString before = field->asString();
        const QString error = dbErrorOf([&] { field->setAsString(typed); });
        if (refused) {
            QVERIFY2(error.contains("não pode ser gravado"), qPrintable(error));
            QCOMPARE(field->asString(), before);
        } else {
            QCOMPARE(error, QString());
            QCOMPARE(field->value(), stored);
        }
        tb->applyUpdates(0);
        const QVariant inDatabase = db.scalar("SELECT " + column + " FROM TMEMBRO");
        QCOMPARE(inDatabase.isNull(), stored.isNull());
        QCOMPARE(inDatabase.toString(), stored.toString());
    }

    void integerMoneyAndDateFields()
    {
        TestDatabase db;
        auto dm = db.connect();
        TableDataset *tb = dm->TBMOVIMENTACOES;
        Field *date = dm->TBMOVIMENTACOESMOVDATA;
        Field *value = dm->TBMOVIMENTACOESMOVVALOR;
        Field *book = dm->TBMOVIMENTACOESMOVLIVRO;
        tb->open();
        tb->insert();
        dm->TBMOVIMENTACOESMOVCODIGO->setAsInteger(1);

        QCOMPARE(dbErrorOf([&] { date->setAsString("31/02/2020"); }), "'31/02/2020' is not a valid date");
        QVERIFY(date->isNull());
        for (const QString blank : {"__/__/____", "  /  /    "}) {
            date->setAsString("01/01/2001");
            date->setAsString(blank);
            QVERIFY2(date->isNull(), qPrintable(blank));
        }
        date->setAsString("03/02/1980");
        QCOMPARE(date->asDate(), QDate(1980, 2, 3));

        QVERIFY(book->isNull());
        QCOMPARE(book->asInteger(), 0);
        value->setAsString("1.234,50");
        tb->post();
        tb->applyUpdates(0);
        QCOMPARE(db.rows("SELECT MOVVALOR, MOVDATA, MOVLIVRO FROM TMOVIMETACOES"),
                 QList<QVariantList>({{1234.5, QDate(1980, 2, 3), QVariant(QMetaType::fromType<int>())}}));

        tb->close();
        tb->open();
        QCOMPARE(value->asFloat(), 1234.5);
        QCOMPARE(value->displayText().replace(QChar::Nbsp, u' '), "R$ 1.234,50");
        QCOMPARE(date->displayText(), "03/02/1980");
        QVERIFY(book->isNull());
        QCOMPARE(book->asInteger(), 0);
    }

    void pictureFromFile()
    {
        TestDatabase db;
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes += char(i);
        const QString path = db.folder() + "/foto.jpg";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == 256);
        file.close();

        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        Field *picture = dm->TBMEMBROMEMFOTO;
        tb->open();
        tb->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(1);
        const QString missing = db.folder() + "/nao-existe.jpg";
        QVERIFY(dbErrorOf([&] { picture->loadFromFile(missing); }).contains(missing));
        QVERIFY(picture->isNull());
        picture->loadFromFile(path);
        tb->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT MEMFOTO FROM TMEMBRO").toByteArray(), bytes);
        tb->close();
        tb->open();
        QCOMPARE(picture->asBytes(), bytes);
    }

    void locateAccount_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("found"); // code of the account, 0 for none

        QTest::newRow("default account") << "master" << "ravlen" << 1;
        QTest::newRow("capital letter") << "Master" << "ravlen" << 0;
        QTest::newRow("leading blank") << " master" << "ravlen" << 0;
        QTest::newRow("trailing blank") << "master" << "ravlen " << 0;
        QTest::newRow("stored password") << "joana" << "1234567890" << 2;
        QTest::newRow("password as typed, longer than stored") << "joana" << "1234567890XY" << 0;
    }

    void locateAccount()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(int, found);
        TestDatabase db;
        auto dm = db.connect();
        TableDataset *tb = dm->TBUSUARIO;
        tb->open();
        tb->insert();
        dm->TBUSUARIOUSUCODIGO->setAsInteger(2);
        dm->TBUSUARIOUSULOGIN->setAsString("joana");
        dm->TBUSUARIOUSUSENHA->setAsString("1234567890XY");
        tb->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT USUSENHA FROM TUSUARIO WHERE USUCODIGO = 2").toString(), "1234567890");

        tb->close();
        tb->open();
        tb->last();
        QCOMPARE(tb->locate("USULOGIN;USUSENHA", {login, password}), found != 0);
        QCOMPARE(dm->TBUSUARIOUSUCODIGO->asInteger(), found != 0 ? found : 2);
    }

    void cancelUpdatesRestoresTheRowsAsRead()
    {
        TestDatabase db;
        addMembers(db, {"ANA", "BRUNO", "CARLA"});
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        tb->open();
        tb->edit();
        dm->TBMEMBROMEMNOME->setAsString("ANA MARIA");
        tb->next();
        tb->edit();
        dm->TBMEMBROMEMNOME->setAsString("BRUNO JOSÉ");
        tb->del(); // a changed row deleted: back with the values it was read with
        tb->first();
        tb->del();
        tb->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(4);
        tb->post();
        tb->cancelUpdates();
        QVERIFY(!tb->hasPendingChanges());
        QCOMPARE(walk(*tb, "MEMNOME"), QStringList({"ANA", "BRUNO", "CARLA"}));
    }

    void nextCodeScansEveryRow()
    {
        TestDatabase db;
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        const int column = dm->TBMEMBROMEMCODIGO->index();
        tb->open();
        QCOMPARE(tb->nextCode(column), 1);
        tb->close();

        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (5, 'CARLA')");
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (2, 'BRUNO')");
        tb->open();
        QCOMPARE(tb->nextCode(column), 6);
        tb->setFilter("(UPPER(MEMNOME) LIKE UPPER('BRUNO'))");
        tb->setFiltered(true);
        QCOMPARE(walk(*tb, "MEMCODIGO"), QStringList({"2"}));
        QCOMPARE(tb->nextCode(column), 6);

        tb->setFiltered(false);
        tb->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(6);
        tb->post();
        QCOMPARE(tb->nextCode(column), 7);
        tb->del();
        QCOMPARE(walk(*tb, "MEMCODIGO"), QStringList({"1", "5", "2"}));
        QCOMPARE(tb->nextCode(column), 6);
    }
};

QTEST_MAIN(TestTableDataset)
#include "tst_tabledataset.moc"
