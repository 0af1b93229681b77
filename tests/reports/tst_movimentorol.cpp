// "Movimento do Rol": the figures of a year worked out from the admission
// and exit dates of members on every side of the year's first and last
// days, and the report the filter window previews.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "datamodule/RollMovement.h"
#include "reports/cadastros/UFMovimentoRol.h"

#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {

using Counts = QList<int>;
using Names = QStringList;

const QVariant kNone;

// name, sex, birth, admission, form, exit, reason
const QList<QVariantList> kMembers{
    {"ANA", "FEMININO", QDate(1951, 12, 31), kNone, kNone, kNone, kNone}, // no admission date: since always
    {"BRUNO", "MASCULINO", QDate(1980, 1, 1), QDate(2005, 3, 1), "BATISMO", QDate(2011, 6, 10), "TRANSFERÊNCIA"},
    {"CARLA", "FEMININO", QDate(1999, 12, 31), QDate(2011, 1, 1), "TRANSFERÊNCIA", kNone, kNone},
    {"DANIEL", "MASCULINO", QDate(1982, 12, 31), QDate(2011, 12, 31), "ACLAMAÇÃO", kNone, kNone},
    {"ELISA", "FEMININO", QDate(1960, 1, 1), QDate(2011, 3, 1), "RECONCILIAÇÃO", QDate(2011, 9, 1), "FALECIMENTO"},
    {"FABIO", "MASCULINO", QDate(1990, 6, 15), QDate(2010, 12, 31), "BATISMO", QDate(2011, 1, 1), "A PEDIDO"},
    {"GABRIELA", "FEMININO", QDate(1970, 1, 1), kNone, kNone, QDate(2011, 12, 31), "EXCLUSÃO"},
    {"HELIO", kNone, kNone, QDate(2011, 5, 5), kNone, QDate(2012, 1, 1), kNone},
    {"IRENE", "FEMININO", QDate(2010, 3, 3), QDate(2012, 2, 2), "BATISMO", kNone, kNone},
    {"JOSE", "MASCULINO", QDate(1940, 1, 1), QDate(2000, 1, 1), "TRANSFERÊNCIA", QDate(2010, 12, 31), "TRANSFERÊNCIA"},
    {"KATIA", "FEMININO", QDate(1985, 1, 1), QDate(2011, 7, 7), "OUTRA COISA", QDate(2011, 8, 8), "MUDANÇA"},
    {"LUIZ", "MASCULINO", QDate(2000, 1, 1), QDate(2008, 5, 1), "BATISMO", kNone, kNone},
    {"MARCOS", "MASCULINO", QDate(1952, 1, 1), QDate(2011, 4, 4), "BATISMO", kNone, kNone},
};

struct Program : SignedInProgram
{
    Program()
    {
        for (int i = 0; i < kMembers.size(); ++i)
            fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMSEXO, MEMDATANASC, MEMDATAADMISSAO, "
                       "MEMFORMAADMISSAO, MEMDATASAIDA, MEMMOTIVOSAIDA) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       QVariantList{i + 1} + kMembers.at(i));
    }
};

Counts members(const QList<RollMovement::Count> &counts)
{
    Counts n;
    for (const RollMovement::Count &c : counts)
        n << c.members;
    return n;
}

Names names(const QList<RollMovement::Event> &events)
{
    Names n;
    for (const RollMovement::Event &e : events)
        n << e.name;
    return n;
}

} // namespace

class TestMovimentoRol : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    // Forms and reasons in the order of Roll::kAdmissions and Roll::kExits,
    // then the other or none; ages 0-11, 12-17, 18-29, 30-59, 60 or more, no date.
    void figuresOfTheYear_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("start");
        QTest::addColumn<Counts>("admitted");
        QTest::addColumn<Counts>("left");
        QTest::addColumn<int>("end");
        QTest::addColumn<Counts>("ages");
        QTest::addColumn<Names>("admittedNames");
        QTest::addColumn<Names>("leftNames");
        QTest::newRow("2010") << 2010 << 5 << Counts{1, 0, 0, 0, 0} << Counts{1, 0, 0, 0, 0} << 5
                              << Counts{1, 0, 1, 3, 0, 0} << Names{"FABIO"} << Names{"JOSE"};
        QTest::newRow("2011") << 2011 << 5 << Counts{1, 1, 1, 1, 2} << Counts{1, 1, 1, 1, 1} << 6
                              << Counts{1, 1, 1, 1, 1, 1}
                              << Names{"CARLA", "ELISA", "MARCOS", "HELIO", "KATIA", "DANIEL"}
                              << Names{"FABIO", "BRUNO", "KATIA", "ELISA", "GABRIELA"};
        QTest::newRow("2012") << 2012 << 6 << Counts{1, 0, 0, 0, 0} << Counts{0, 0, 0, 0, 1} << 6
                              << Counts{1, 2, 0, 1, 2, 0} << Names{"IRENE"} << Names{"HELIO"};
    }

    void figuresOfTheYear()
    {
        QFETCH(int, year);
        Program p;
        const RollMovement::Year y = RollMovement::read(year);
        QTEST(y.start, "start");
        QTEST(members(y.admittedBy), "admitted");
        QTEST(members(y.leftBy), "left");
        QTEST(y.end, "end");
        QCOMPARE(y.start + y.admitted() - y.left(), y.end);
        QTEST(members(y.byAge), "ages");
        QTEST(names(y.admittedList), "admittedNames");
        QTEST(names(y.leftList), "leftNames");
    }

    // The figures on the first page with their sum; the names from the second.
    void theFilterPreviewsTheReport()
    {
        Program p;
        TFFMovimentoRol filter(p.menu);
        filter.show();
        filter.txtAno->setText("2011");
        const ReportRun run = previewOpenedBy(filter.btnGerar);
        QCOMPARE(run.pages().size(), 2);
        QVERIFY(run.texts(0, "txtDescricao").contains("(=) Membros no rol em 31 de dezembro de 2011 (5 + 6 − 5)"));
        QCOMPARE(run.texts(0, "txtQuantidade").first(), "5");
        QVERIFY(!run.texts(0, "txtDescricao").contains("CARLA"));
        QVERIFY(run.texts(1, "txtDescricao").contains("CARLA"));
        QVERIFY(run.texts(1, "txtForma").contains("Transferência"));
    }
};

QTEST_MAIN(TestMovimentoRol)
#include "tst_movimentorol.moc"
