#include "TestDatabase.h"

#include "dataset/DbError.h"

#include <QtTest>

namespace {

void addMember(const TestDatabase &db, int code, const QString &name, const QString &phone = {})
{
    db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMTELEFONERES) VALUES (?, ?, ?)", {code, name, phone});
}

// Every row of a query as "value|value|...", NULL as an empty text.
QStringList table(const TestDatabase &db, const QString &sql)
{
    QStringList lines;
    for (const QVariantList &row : db.rows(sql)) {
        QStringList values;
        for (const QVariant &v : row)
            values << (v.isNull() ? QString() : v.toString());
        lines << values.join(u'|');
    }
    return lines;
}

QStringList members(const TestDatabase &db)
{
    return table(db, "SELECT MEMCODIGO, MEMNOME, MEMTELEFONERES FROM TMEMBRO ORDER BY MEMCODIGO");
}

QList<QPair<int, int>> kindsAndRows(const TableDataset *tb)
{
    QList<QPair<int, int>> result;
    for (const TableDataset::Change &c : tb->changes())
        result << qMakePair(int(c.kind), c.row);
    return result;
}

// What one workstation does to member 1: "name", "phone" or "delete".
void act(TDM &dm, const QString &action)
{
    QVERIFY(dm.TBMEMBRO->locate("MEMCODIGO", {1}));
    if (action == "delete") {
        dm.TBMEMBRO->del();
        return;
    }
    dm.TBMEMBRO->edit();
    if (action == "name")
        dm.TBMEMBROMEMNOME->setAsString("MARIA LUIZA");
    else
        dm.TBMEMBROMEMTELEFONERES->setAsString("2222");
    dm.TBMEMBRO->post();
}

} // namespace

class TestApplyUpdates : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void insertsChangesAndDeletesReachTheDatabase()
    {
        TestDatabase db;
        const QString insertSql =
            "INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDATA) VALUES (?, ?, ?, ?)";
        db.exec(insertSql, {1, "DIZIMO", 100.5, QDate(2020, 3, 1)});
        db.exec(insertSql, {2, "OFERTA", 20.0, QDate(2020, 3, 2)});
        db.exec(insertSql, {3, "LUZ", 7.25, QDate(2020, 3, 3)});
        auto dm = db.connect();
        TableDataset *tb = dm->TBMOVIMENTACOES;
        tb->open();
        QVERIFY(tb->locate("MOVCODIGO", {1}));
        tb->edit();
        dm->TBMOVIMENTACOESMOVDESCRICAO->setAsString("DÍZIMO");
        dm->TBMOVIMENTACOESMOVVALOR->setAsFloat(150.75);
        tb->post();
        QVERIFY(tb->locate("MOVCODIGO", {2}));
        tb->del();
        tb->insert();
        dm->TBMOVIMENTACOESMOVCODIGO->setAsInteger(4);
        dm->TBMOVIMENTACOESMOVDESCRICAO->setAsString("ÁGUA");
        dm->TBMOVIMENTACOESMOVVALOR->setAsFloat(33.1);
        dm->TBMOVIMENTACOESMOVDATA->setAsDate(QDate(2020, 4, 1));
        tb->post();
        tb->applyUpdates(0);
        QVERIFY(!tb->hasPendingChanges());
        const QString sql = "SELECT MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDATA, MOVLIVRO FROM TMOVIMETACOES "
                            "ORDER BY MOVCODIGO";
        QCOMPARE(table(db, sql), QStringList({"1|DÍZIMO|150.75|2020-03-01|", "3|LUZ|7.25|2020-03-03|",
                                              "4|ÁGUA|33.1|2020-04-01|"}));

        // The values just written are what the rows are found by next time.
        for (int code : {1, 4}) {
            QVERIFY(tb->locate("MOVCODIGO", {code}));
            tb->edit();
            dm->TBMOVIMENTACOESMOVLIVRO->setAsInteger(7);
            tb->post();
        }
        QVERIFY(tb->locate("MOVCODIGO", {3}));
        tb->del();
        tb->applyUpdates(0);
        QCOMPARE(table(db, sql), QStringList({"1|DÍZIMO|150.75|2020-03-01|7", "4|ÁGUA|33.1|2020-04-01|7"}));
    }

    void refusedBatchIsRolledBackAndKept_data()
    {
        QTest::addColumn<bool>("fixInMemory");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("conflicting row removed in the database")
            << false << QStringList{"1|ANA MARIA|", "3|CARLA|"};
        QTest::newRow("code changed in memory") << true << QStringList{"1|ANA MARIA|", "3|INTRUSO|", "4|CARLA|"};
    }

    void refusedBatchIsRolledBackAndKept()
    {
        QFETCH(bool, fixInMemory);
        QFETCH(QStringList, written);
        TestDatabase db;
        addMember(db, 1, "ANA");
        addMember(db, 2, "BRUNO");
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        tb->open();
        QVERIFY(tb->locate("MEMCODIGO", {1}));
        tb->edit();
        dm->TBMEMBROMEMNOME->setAsString("ANA MARIA");
        tb->post();
        tb->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(3);
        dm->TBMEMBROMEMNOME->setAsString("CARLA");
        tb->post();
        QVERIFY(tb->locate("MEMCODIGO", {2}));
        tb->del();
        addMember(db, 3, "INTRUSO"); // another workstation took code 3 meanwhile

        const auto pending = kindsAndRows(tb);
        const QString error = dbErrorOf([&] { tb->applyUpdates(0); });
        QVERIFY2(error.contains("PRIMARY or UNIQUE KEY"), qPrintable(error));
        QCOMPARE(members(db), QStringList({"1|ANA|", "2|BRUNO|", "3|INTRUSO|"}));
        QVERIFY(tb->hasPendingChanges());
        QCOMPARE(kindsAndRows(tb), pending);

        if (fixInMemory) {
            QVERIFY(tb->locate("MEMCODIGO", {3}));
            tb->edit();
            dm->TBMEMBROMEMCODIGO->setAsInteger(4);
            tb->post();
        } else {
            db.exec("DELETE FROM TMEMBRO WHERE MEMCODIGO = 3");
        }
        tb->applyUpdates(0);
        QVERIFY(!tb->hasPendingChanges());
        QCOMPARE(members(db), written);
    }

    void changesOfAnotherWorkstation_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("inDatabase");
        QTest::newRow("changed, then changed") << "name" << "phone" << QStringList{"1|MARIA LUIZA|1111", "2|JOSÉ|"};
        QTest::newRow("changed, then deleted") << "name" << "delete" << QStringList{"1|MARIA LUIZA|1111", "2|JOSÉ|"};
        QTest::newRow("deleted, then changed") << "delete" << "phone" << QStringList{"2|JOSÉ|"};
    }

    void changesOfAnotherWorkstation()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QStringList, inDatabase);
        TestDatabase db;
        addMember(db, 1, "MARIA", "1111");
        addMember(db, 2, "JOSÉ");
        auto a = db.connect("A");
        auto b = db.connect("B");
        a->TBMEMBRO->open();
        b->TBMEMBRO->open();

        act(*a, first);
        a->TBMEMBRO->applyUpdates(0);
        act(*b, second);
        QCOMPARE(dbErrorOf([&] { b->TBMEMBRO->applyUpdates(0); }),
                 "Registro não encontrado ou alterado por outro usuário.");
        QCOMPARE(members(db), inDatabase);
        QCOMPARE(b->TBMEMBRO->changes().size(), size_t(1));
    }

    void pictureIsNotPartOfTheRowCheck()
    {
        TestDatabase db;
        addMember(db, 1, "MARIA");
        auto a = db.connect("A");
        auto b = db.connect("B");
        a->TBMEMBRO->open();
        b->TBMEMBRO->open();
        a->TBMEMBRO->edit();
        a->TBMEMBROMEMFOTO->setAsBytes("\x89PNG");
        a->TBMEMBRO->applyUpdates(0);
        act(*b, "name");
        b->TBMEMBRO->applyUpdates(0);
        QCOMPARE(db.rows("SELECT MEMNOME, MEMFOTO FROM TMEMBRO"),
                 QList<QVariantList>({{"MARIA LUIZA", QByteArray("\x89PNG")}}));
    }

    void rowsWithEmptyColumnsCanBeChangedAndDeleted_data()
    {
        QTest::addColumn<QString>("city"); // as the rows hold it
        QTest::newRow("NULL") << "NULL";
        // Rows written by other programs may hold an empty text instead of NULL.
        QTest::newRow("empty text") << "''";
    }

    void rowsWithEmptyColumnsCanBeChangedAndDeleted()
    {
        QFETCH(QString, city);
        TestDatabase db;
        for (int code : {1, 2})
            db.exec(QStringLiteral("INSERT INTO TMEMBRO (MEMCODIGO, MEMCIDADE) VALUES (%1, %2)").arg(code).arg(city));
        auto dm = db.connect();
        TableDataset *tb = dm->TBMEMBRO;
        tb->open();
        tb->edit();
        dm->TBMEMBROMEMNOME->setAsString("ANA");
        tb->next();
        tb->del();
        QCOMPARE(dbErrorOf([&] { tb->applyUpdates(0); }), QString());
        QCOMPARE(members(db), QStringList({"1|ANA|"}));
    }
};

QTEST_MAIN(TestApplyUpdates)
#include "tst_applyupdates.moc"
