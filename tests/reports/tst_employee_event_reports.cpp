// The employee list launched from the employees register, and the events list
// made from its filter window, read on the previewed pages.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "controls/DBLookupComboBox.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "reports/base/ReportWindow.h"
#include "reports/cadastros/UFEvento.h"
#include "reports/cadastros/URFuncionario.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QColor kCream(255, 251, 240);

struct Program : SignedInProgram
{
    Program() { Today::setForTests(QDate(2011, 5, 31)); }
    ~Program() { Today::setForTests(QDate()); }

    void position(int code, const QString &description)
    {
        fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO, CARSALARIO) VALUES (?, ?, 0)", {code, description});
    }
    void employee(int code, const QString &name, const QVariant &position = {}, const QVariant &salary = {},
                  const QVariant &phone = {})
    {
        fx.db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME, FUNCARGO, FUNSALARIO, FUNTELEFONERES) "
                   "VALUES (?, ?, ?, ?, ?)", {code, name, position, salary, phone});
    }
    void event(int code, const QString &description, const QDate &day, int hour, int minutes, const QVariant &employee)
    {
        fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA, EVEHORA, EVEMINUTOS, EVEFUNCIONARIO) "
                   "VALUES (?, ?, ?, ?, ?, ?)", {code, description, day, hour, minutes, employee});
    }
    // The events filter shown over the events register, with the period typed in.
    std::unique_ptr<TFFEvento> eventsFilter(TFEvento *reg, const QString &from = {}, const QString &to = {})
    {
        auto filter = std::make_unique<TFFEvento>(reg);
        filter->show();
        type(filter->txtDataInicial, from);
        type(filter->txtDataFinal, to);
        return filter;
    }
    static void type(QLineEdit *box, const QString &digits)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        box->setCursorPosition(0);
        QTest::keyClicks(box, digits);
    }
    static void choose(TFFEvento *filter, int choice, int employeeRow = -1)
    {
        filter->findChild<QRadioButton *>(QStringLiteral("RGFuncionario%1").arg(choice))->click();
        filter->DBLookupComboBox1->setFocus();
        for (int i = 0; i <= employeeRow; ++i)
            QTest::keyClick(filter->DBLookupComboBox1, Qt::Key_Down);
    }
};

} // namespace

class TestEmployeeEventReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    void employeeListHasEveryStoredEmployeeAndTheTotalOnEveryPage()
    {
        Program p;
        p.position(1, "PASTOR");
        p.position(2, "ZELADOR");
        double total = 0;
        QStringList names;
        for (int i = 1; i <= 50; ++i) {
            names << QStringLiteral("FUNCIONARIO %1").arg(i, 2, 10, QChar(u'0'));
            total += 1000.5 * i;
            p.employee(51 - i, names.last(), i % 2 + 1, 1000.5 * i);
        }
        p.employee(60, "ZZ SEM CARGO", 7, QVariant(), "1133334444"); // a position that no longer exists
        p.employee(61, "ZZZ SEM NADA", QVariant(), QVariant(), "(011)3333-4444");
        names << "ZZ SEM CARGO" << "ZZZ SEM NADA";
        auto reg = p.open<TFFuncionario>();
        reg->searchBox->setText("ZZ"); // the register shows two; the list shows all
        DM->TBFUNCIONARIO->insert();   // held in memory only
        DM->TBFUNCIONARIOFUNCODIGO->setAsInteger(70);
        DM->TBFUNCIONARIOFUNNOME->setAsString("AAA SO NA MEMORIA");
        DM->TBFUNCIONARIO->post();

        const ReportRun run = previewOpenedBy(reg->btnRelatorio);
        QCOMPARE(run.pages().size(), 2);
        QCOMPARE(run.texts(0, "QRDBText1") + run.texts(1, "QRDBText1"), names);
        QCOMPARE(run.texts(0, "QRLabel1"), QStringList{"Relatório de Funcionários"});
        QVERIFY(run.texts(1, "QRLabel1").isEmpty()); // the title only on the first page
        const QString totalText = TFRFuncionario::salaryTotalText(total);
        QCOMPARE(totalText, QStringLiteral("R$1.275.637,50"));
        QCOMPARE(run.texts(0, "txtSalarios"), QStringList{totalText});
        QCOMPARE(run.texts(1, "txtSalarios"), QStringList{totalText});
        QCOMPARE(run.texts(1, "txtData"), QStringList{"31/05/2011"});

        const QStringList positions = run.texts(1, "txtCargo");
        QCOMPARE(positions.mid(positions.size() - 2), (QStringList{"", ""}));
        QCOMPARE(run.texts(0, "txtCargo").first(), QStringLiteral("ZELADOR")); // FUNCIONARIO 01 holds position 2
        QCOMPARE(run.texts(0, "QRDBText3").first(), QLocale().toCurrencyString(1000.5));
        QCOMPARE(run.texts(1, "QRDBText4").mid(positions.size() - 2),
                 (QStringList{"( 11)3333-4444", "(011)3333-4444"}));
        QCOMPARE(run.findItem(0, "QRDBText1")->font.pointSizeF(), 6.0);
        QCOMPARE(run.findItem(0, "txtCargo")->background, kCream); // the first row of a run is cream

        QCOMPARE(previewOpenedBy(reg->btnRelatorio).findItem(0, "txtCargo")->background, kCream);
        QCOMPARE(reg->findChildren<ReportWindow *>().size(), 2);
    }

    void totalsBelowOneAndOfAnEmptyList()
    {
        Program p;
        auto reg = p.open<TFFuncionario>();
        const QString decimal = QLocale().decimalPoint();
        QCOMPARE(previewOpenedBy(reg->btnRelatorio).texts(0, "txtSalarios"), QStringList{"R$" + decimal + "00"});

        p.employee(1, "ANA", QVariant(), 0.25);
        p.employee(2, "BRUNO", QVariant(), 0.504);
        const ReportRun run = previewOpenedBy(reg->btnRelatorio);
        QCOMPARE(run.texts(0, "txtSalarios"), QStringList{"R$" + decimal + "75"});
        QCOMPARE(run.texts(0, "QRLabel11"), QStringList{"Total em Salários: "});
    }

    void eventsByPeriodIncludeBothDaysInDateOrder()
    {
        Program p;
        p.employee(1, "ANA");
        p.employee(2, "BRUNO");
        p.event(1, "CULTO DE DOMINGO", QDate(2011, 5, 20), 19, 30, 1);
        p.event(2, "ENSAIO", QDate(2011, 5, 10), 9, 5, 2);
        p.event(3, "FORA ANTES", QDate(2011, 5, 9), 8, 0, 1);
        p.event(4, "FORA DEPOIS", QDate(2011, 5, 21), 8, 0, 1);
        p.event(5, "SEM RESPONSAVEL", QDate(2011, 5, 15), 10, 0, 99); // an employee deleted
        auto reg = p.open<TFEvento>();
        DM->TBEVENTO->insert(); // held in memory only
        DM->TBEVENTOEVECODIGO->setAsInteger(6);
        DM->TBEVENTOEVEDESCRICAO->setAsString("SO NA MEMORIA");
        DM->TBEVENTOEVEDATA->setAsDate(QDate(2011, 5, 12));
        DM->TBEVENTO->post();
        auto filter = p.eventsFilter(reg.get(), "10052011", "20052011");
        QVERIFY(filter->findChild<QRadioButton *>("RGFuncionario1")->isChecked());

        ReportRun run = previewOpenedBy(filter->btnRelatorio);
        QCOMPARE(run.texts(0, "QRDBText1"), (QStringList{"ENSAIO", "SEM RESPONSAVEL", "CULTO DE DOMINGO"}));
        QCOMPARE(run.texts(0, "txtFuncionario"), (QStringList{"BRUNO", "", "ANA"}));
        QCOMPARE(run.texts(0, "QRDBText3"), (QStringList{"10/05/2011", "15/05/2011", "20/05/2011"}));
        QCOMPARE(run.texts(0, "QRDBText4").first() + run.texts(0, "QRLabel3").first() + run.texts(0, "QRDBText5").first(),
                 QStringLiteral("9 : 5"));
        const PageItem *hour = run.findItem(0, "QRDBText4");
        QCOMPARE(hour->rect.right() + 1, 100 + 1638 + 135); // ends next to the colon
        QVERIFY(hour->flags & Qt::AlignRight);
        QCOMPARE(run.findItem(0, "txtFuncionario")->background, kCream);
        QCOMPARE(run.texts(0, "txtData"), QStringList{"31/05/2011"});

        Program::type(filter->txtDataInicial, "21052011");
        Program::type(filter->txtDataFinal, "21052011");
        run = previewOpenedBy(filter->btnRelatorio);
        QCOMPARE(run.texts(0, "QRDBText1"), QStringList{"FORA DEPOIS"});
        QCOMPARE(run.findItem(0, "QRDBText1")->background, kCream); // every run starts cream
    }

    void eventsByEmployeeAndByBoth()
    {
        Program p;
        p.employee(1, "ANA");
        p.employee(2, "BRUNO");
        p.event(1, "VISITA", QDate(2011, 6, 1), 15, 0, 2);
        p.event(2, "ENSAIO", QDate(2011, 5, 10), 9, 5, 2);
        p.event(3, "CULTO", QDate(2011, 5, 10), 19, 0, 1);
        auto reg = p.open<TFEvento>();
        auto filter = p.eventsFilter(reg.get()); // dates left empty: not used by employee
        Program::choose(filter.get(), TFFEvento::ByEmployee, 1);
        QCOMPARE(filter->DBLookupComboBox1->currentText(), QStringLiteral("BRUNO"));
        ReportRun run = previewOpenedBy(filter->btnRelatorio);
        QCOMPARE(run.texts(0, "QRDBText1"), (QStringList{"ENSAIO", "VISITA"}));
        QCOMPARE(run.texts(0, "txtFuncionario"), (QStringList{"BRUNO", "BRUNO"}));

        Program::type(filter->txtDataInicial, "01052011");
        Program::type(filter->txtDataFinal, "31052011");
        filter->findChild<QRadioButton *>("RGFuncionario2")->click();
        run = previewOpenedBy(filter->btnRelatorio);
        QCOMPARE(run.texts(0, "QRDBText1"), QStringList{"ENSAIO"});
    }

    void badDateOrMissingEmployeeStopsWithAMessage()
    {
        Program p;
        p.employee(1, "ANA");
        p.event(1, "CULTO", QDate(2011, 5, 10), 19, 0, 1);
        auto reg = p.open<TFEvento>();
        DM->TBFUNCIONARIO->first(); // the shared table stands on ANA
        auto filter = p.eventsFilter(reg.get(), "01052011", "31022011");
        Messages::Recorder messages;
        int previews = 0;
        ReportRun run;
        whenPreviewLaidOut([&](PrintPreview *preview) {
            ++previews;
            run = preview->run();
            preview->close();
        });
        filter->btnRelatorio->click();
        QCOMPARE(messages.texts(), QStringList{"'31/02/2011' is not a valid date"});
        QCOMPARE(messages.shown.first().kind, Messages::Shown::Error);

        Program::type(filter->txtDataFinal, "31052011");
        Program::choose(filter.get(), TFFEvento::ByEmployeeAndPeriod);
        filter->btnRelatorio->click(); // no employee picked in the list
        QCOMPARE(messages.texts().last(), QStringLiteral("Escolha o funcionário."));
        QCOMPARE(previews, 0);

        Program::choose(filter.get(), TFFEvento::ByEmployeeAndPeriod, 0);
        filter->btnRelatorio->click(); // now the one preview
        QCOMPARE(previews, 1);
        QCOMPARE(run.texts(0, "QRDBText1"), QStringList{"CULTO"});
        QCOMPARE(messages.shown.size(), 2);
    }

    void registersLaunchTheirReports()
    {
        Program p;
        auto events = p.open<TFEvento>();
        QCOMPARE(Program::captionsOpenedBy({[&] { events->btnRelatorio->click(); }}),
                 QStringList{"Filtro de Relatório de Eventos"});
        auto employees = p.open<TFFuncionario>();
        QString caption;
        whenPreviewLaidOut([&](PrintPreview *preview) {
            caption = preview->windowTitle();
            preview->close();
        });
        QTest::keyClick(employees.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(caption, QStringLiteral("Print Preview"));
    }
};

QTEST_MAIN(TestEmployeeEventReports)
#include "tst_employee_event_reports.moc"
