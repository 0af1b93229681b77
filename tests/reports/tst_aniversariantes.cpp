// The birthdays of a month: the filter window opened from the main window's
// menu and the report it previews, read on the laid-out pages.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "uikit/Today.h"
#include "reports/cadastros/UFAniversariantes.h"
#include "reports/cadastros/URAniversariantes.h"

#include <QComboBox>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

namespace {

struct Program : SignedInProgram
{
    explicit Program(const QDate &today) { Today::setForTests(today); }
    ~Program() { Today::setForTests(QDate()); }

    void member(int code, const QString &name, const QVariant &birth, const QString &phone = {},
                const QString &mobile = {})
    {
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMDATANASC, MEMTELEFONERES, MEMCELULAR) "
                   "VALUES (?, ?, ?, ?, ?)",
                   {code, name, birth, phone.isEmpty() ? QVariant() : phone, mobile.isEmpty() ? QVariant() : mobile});
    }
    // The report of `month` made from a filter window over the main window.
    ReportRun report(int month)
    {
        TFFAniversariantes filter(menu);
        filter.show();
        filter.cbMes->setCurrentIndex(month - 1);
        return previewOpenedBy(filter.btnGerar);
    }
};

// The report's rows: day, name, age, telephone and mobile, one line each.
QList<QStringList> rows(const ReportRun &run, int page)
{
    const QStringList days = run.texts(page, "txtDia"), names = run.texts(page, "QRDBText1"),
                      ages = run.texts(page, "txtIdade"), phones = run.texts(page, "QRDBText2"),
                      mobiles = run.texts(page, "QRDBText3");
    QList<QStringList> lines;
    for (int i = 0; i < names.size(); ++i)
        lines << QStringList{days.value(i), names.value(i), ages.value(i), phones.value(i), mobiles.value(i)};
    return lines;
}

const QVariant kNoDate = QVariant(QMetaType::fromType<QDate>());

} // namespace

class TestAniversariantes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    void menuOpensTheFilterWithTheCurrentMonth()
    {
        Program p(QDate(2011, 12, 31));
        QString caption;
        QStringList months;
        QString proposed;
        whenModalOpens([&](QWidget *modal) {
            caption = modal->windowTitle();
            auto *box = modal->findChild<QComboBox *>("cbMes");
            for (int i = 0; box && i < box->count(); ++i)
                months << box->itemText(i);
            proposed = box ? box->currentText() : QString();
            modal->close();
        });
        p.menu->Aniversariantes1->trigger();
        QCOMPARE(p.menu->Aniversariantes1->text(), QString("Aniversariantes"));
        QVERIFY(p.menu->Cadastros1->actions().contains(p.menu->Aniversariantes1));
        QCOMPARE(caption, QString("Filtro de Relatório de Aniversariantes"));
        QCOMPARE(months, (QStringList{"Janeiro", "Fevereiro", "Março", "Abril", "Maio", "Junho", "Julho", "Agosto",
                                      "Setembro", "Outubro", "Novembro", "Dezembro"}));
        QCOMPARE(proposed, QString("Dezembro"));
    }

    void everyStoredMemberOfTheMonthByDayThenName()
    {
        Program p(QDate(2011, 2, 10)); // a common year
        p.member(1, "BRUNO", QDate(1980, 2, 29), "(51) 3333-1111", "(51) 9999-1111");
        p.member(2, "CARLOS", QDate(2001, 2, 1));
        p.member(3, "ANA", QDate(1990, 2, 1), {}, "(51) 9999-3333");
        p.member(4, "DIANA", QDate(1975, 3, 1));
        p.member(5, "ELISA", QDate(1985, 1, 31));
        p.member(6, "FÁBIO", kNoDate);
        p.member(7, "GABRIEL", QDate(2011, 2, 28));
        p.member(8, "HELENA", QDate(1950, 2, 9));
        p.member(9, "IGOR", QDate(1960, 2, 10));
        p.member(10, "ÁLVARO", QDate(1991, 2, 1)); // sorted as Portuguese sorts, not by its bytes
        // A search left on the members table does not narrow the report.
        DM->TBMEMBRO->setFilter("(UPPER(MEMNOME) LIKE UPPER('%ANA%'))");
        DM->TBMEMBRO->setFiltered(true);

        const ReportRun run = p.report(2);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(run.texts(0, "QRLabel1"), QStringList{"Aniversariantes de Fevereiro"});
        QCOMPARE(run.texts(0, "QRLabel2"), QStringList{"Idade completada em 2011"});
        QCOMPARE(rows(run, 0), (QList<QStringList>{
                                   {"01", "ÁLVARO", "20", "", ""},
                                   {"01", "ANA", "21", "", "(51) 9999-3333"},
                                   {"01", "CARLOS", "10", "", ""},
                                   {"09", "HELENA", "61", "", ""},
                                   {"10", "IGOR", "51", "", ""},
                                   {"28", "GABRIEL", "0", "", ""},
                                   {"29", "BRUNO", "31", "(51) 3333-1111", "(51) 9999-1111"},
                               }));
        QCOMPARE(run.texts(0, "txtData"), QStringList{"10/02/2011"});
        QCOMPARE(rowColours(run, 0, "QRDBText1").first(), QColor(255, 251, 240));
    }

    void monthsAtTheEdgesOfTheYear()
    {
        Program p(QDate(2011, 12, 31));
        p.member(1, "ÚLTIMO DIA", QDate(1970, 12, 31));
        p.member(2, "PRIMEIRO DIA", QDate(1971, 1, 1));
        p.member(3, "NASCEU ONTEM", QDate(2011, 12, 30));
        QCOMPARE(rows(p.report(12), 0), (QList<QStringList>{{"30", "NASCEU ONTEM", "0", "", ""},
                                                            {"31", "ÚLTIMO DIA", "41", "", ""}}));
        QCOMPARE(rows(p.report(1), 0), (QList<QStringList>{{"01", "PRIMEIRO DIA", "40", "", ""}}));
        const ReportRun empty = p.report(7);
        QCOMPARE(empty.pages().size(), 1); // the title and the footer, no row
        QCOMPARE(empty.texts(0, "QRLabel1"), QStringList{"Aniversariantes de Julho"});
        QVERIFY(rows(empty, 0).isEmpty());
    }
};

QTEST_MAIN(TestAniversariantes)
#include "tst_aniversariantes.moc"
