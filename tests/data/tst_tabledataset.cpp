#include "TestDatabase.h"

#include "data/dataset/DbError.h"

#include <QtTest>

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
};

QTEST_MAIN(TestTableDataset)
#include "tst_tabledataset.moc"
