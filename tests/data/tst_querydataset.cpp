#include "TestDatabase.h"

#include "dataset/DbError.h"
#include "provider/QueryDataset.h"

#include <QtTest>

namespace {

// Four movements: two in book 1, two in book 2 (the last one with empty columns).
void addMovements(const TestDatabase &db)
{
    const QString sql = "INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDATA) "
                        "VALUES (?, ?, ?, ?, ?)";
    db.exec(sql, {1, "OFERTA", 1, 100.5, QDate(2020, 3, 1)});
    db.exec(sql, {2, "O'BRIEN", 1, 20.0, QDate(2020, 3, 15)});
    db.exec(sql, {3, "LUZ", 2, 7.25, QDate(2020, 4, 2)});
    db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVLIVRO) VALUES (4, 2)");
}

} // namespace

class TestQueryDataset : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void namedParameterTypedFieldsAndWalk()
    {
        TestDatabase db;
        addMovements(db);
        auto dm = db.connect();
        QueryDataset q("QRLIVRO", dm->connectionName());
        q.addSql("SELECT * FROM TCARGO");
        q.setSql({"SELECT MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDATA", "FROM TMOVIMETACOES",
                  "WHERE MOVLIVRO = :livro ORDER BY MOVCODIGO"});
        QCOMPARE(q.sql().size(), 3);
        q.setParam(":livro", 1);
        q.open();
        QCOMPARE(q.fieldByName("MOVCODIGO")->type(), FieldType::Integer);
        QCOMPARE(q.fieldByName("MOVDESCRICAO")->type(), FieldType::Text);
        QCOMPARE(q.fieldByName("MOVVALOR")->type(), FieldType::Money);
        QCOMPARE(q.fieldByName("MOVDATA")->type(), FieldType::Date);
        QCOMPARE(q.recordCount(), 2);
        QVERIFY(q.bof() && !q.eof());
        QCOMPARE(q.fieldByName("movcodigo")->asInteger(), 1);
        QCOMPARE(q.fieldByName("MOVVALOR")->asFloat(), 100.5);
        QCOMPARE(q.fieldByName("MOVDATA")->asDate(), QDate(2020, 3, 1));
        QCOMPARE(q.fieldByName("MOVDESCRICAO")->asString(), "OFERTA");
        q.next();
        q.next();
        QVERIFY(q.eof());
        QCOMPARE(q.fieldByName("MOVDESCRICAO")->asString(), "O'BRIEN"); // the last row stays readable
        QVERIFY(!dbErrorOf([&] { q.fieldByName("MOVDESCRICAO")->setAsString("X"); }).isEmpty());
        QVERIFY(!dbErrorOf([&] { q.fieldByName("NAOEXISTE"); }).isEmpty());

        q.setParam("livro", 2);
        q.close();
        q.open();
        QCOMPARE(walk(q, "MOVCODIGO"), QStringList({"3", "4"}));
        QVERIFY(q.fieldByName("MOVVALOR")->isNull());
        QVERIFY(q.fieldByName("MOVDATA")->isNull());
    }

    void positionalParametersAreValues()
    {
        TestDatabase db;
        addMovements(db);
        auto dm = db.connect();
        QueryDataset q("QRMOV", dm->connectionName());
        q.setSql({"SELECT MOVCODIGO FROM TMOVIMETACOES WHERE MOVDESCRICAO = ? AND MOVDATA >= ?"});
        q.setParam(0, "O'BRIEN");
        q.setParam(1, QDate(2020, 3, 2));
        q.open();
        QCOMPARE(walk(q, "MOVCODIGO"), QStringList({"2"}));

        q.close();
        q.setParam(0, "X' OR '1'='1");
        q.open();
        QCOMPARE(q.recordCount(), 0);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TMOVIMETACOES").toInt(), 4);
    }

    // Names are found outside quoted texts, quoted names and comments, in any
    // case, and accented texts come back as they were stored.
    void namesInTheSqlTextAndAccentedTexts()
    {
        TestDatabase db;
        addMovements(db);
        db.exec("UPDATE TMOVIMETACOES SET MOVDESCRICAO = 'DÍZIMO DE JOÃO € :x' WHERE MOVCODIGO = 3");
        auto dm = db.connect();
        QueryDataset q("QRMOV", dm->connectionName());
        q.setSql({"SELECT MOVCODIGO, 'x:naoe' AS \"A:B\", MOVDESCRICAO FROM TMOVIMETACOES -- :comentario",
                  "WHERE MOVLIVRO = :Livro /* :outro */ AND MOVVALOR > :VALOR ORDER BY MOVCODIGO"});
        q.setParam("LIVRO", 2);
        q.setParam(":valor", 1.0);
        q.open();
        QCOMPARE(walk(q, "MOVCODIGO"), QStringList({"3"}));
        QCOMPARE(q.fieldByName("A:B")->asString(), "x:naoe");
        QCOMPARE(q.fieldByName("MOVDESCRICAO")->asString(), QStringLiteral("DÍZIMO DE JOÃO € :x"));
        QCOMPARE(q.fieldByName("MOVDESCRICAO")->size(), 50);
    }

    // A report window runs its queries one after another on one query object.
    void newSqlStartsWithoutTheOldParameters()
    {
        TestDatabase db;
        addMovements(db);
        auto dm = db.connect();
        QueryDataset q("QRRELATORIO", dm->connectionName());
        q.setSql({"SELECT MOVCODIGO FROM TMOVIMETACOES WHERE MOVLIVRO = ? ORDER BY MOVCODIGO"});
        q.setParam(0, 1);
        q.open();
        QCOMPARE(walk(q, "MOVCODIGO"), QStringList({"1", "2"}));

        q.setSql({"SELECT MOVCODIGO FROM TMOVIMETACOES WHERE MOVLIVRO = :livro ORDER BY MOVCODIGO"});
        q.setParam(":livro", 2);
        QCOMPARE(dbErrorOf([&] { q.open(); }), QString());
        QCOMPARE(walk(q, "MOVCODIGO"), QStringList({"3", "4"}));

        q.setSql({"SELECT COUNT(*) AS QUANTOS, SUM(MOVVALOR) AS TOTAL FROM TMOVIMETACOES"});
        QCOMPARE(dbErrorOf([&] { q.open(); }), QString());
        QCOMPARE(q.fieldByName("QUANTOS")->asInteger(), 4);
        QCOMPARE(q.fieldByName("TOTAL")->asFloat(), 127.75);
    }

    // The database refuses a row in the middle of the reading (a division by
    // zero on the fifth member): the query says so instead of giving the
    // first rows as if they were all.
    void aFetchThatFailsPartWayRaisesTheDatabasesError()
    {
        TestDatabase db;
        for (int code = 1; code <= 8; ++code)
            db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (?, ?)", {code, QString("MEMBRO %1").arg(code)});
        auto dm = db.connect();
        QueryDataset q("QMEMBRO", dm->connectionName());
        q.setSql({"SELECT MEMCODIGO, 100 / (MEMCODIGO - 5) AS PARTE FROM TMEMBRO ORDER BY MEMCODIGO"});
        const QString error = dbErrorOf([&] { q.open(); });
        QVERIFY2(error.contains("divide by zero", Qt::CaseInsensitive), qPrintable(error));
        QVERIFY(!q.active());
        QCOMPARE(q.recordCount(), 0);

        q.setSql({"SELECT MEMCODIGO FROM TMEMBRO WHERE MEMCODIGO > 6 ORDER BY MEMCODIGO"});
        q.open(); // the same query object reads again afterwards
        QCOMPARE(walk(q, "MEMCODIGO"), QStringList({"7", "8"}));
    }
};

QTEST_MAIN(TestQueryDataset)
#include "tst_querydataset.moc"
