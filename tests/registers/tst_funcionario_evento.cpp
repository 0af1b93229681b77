// The employees and events registers driven as a user would: the salary
// taken from the position, the positions register opened from the employees,
// the shortcut keys, and the events' own keys and employee list.
#include "Invariants.h"
#include "RegisterFixture.h"

#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "controls/DBComboBox.h"
#include "controls/DBEdit.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBMemo.h"
#include "main/UMenu.h"
#include "registers/UCargo.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "signin/ULogin.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

struct Program : SignedInProgram
{
    void positions()
    {
        for (int code : {1, 2, 3})
            fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO, CARSALARIO) VALUES (?, ?, ?)",
                       {code, QString("CARGO %1").arg(code), 1000.0 * code});
    }
    void employee(int code, const QString &name, const QVariant &position, double salary)
    {
        fx.db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME, FUNCARGO, FUNSALARIO) VALUES (?, ?, ?, ?)",
                   {code, name, position, salary});
    }
    double storedSalary(int code)
    {
        return fx.db.scalar(QString("SELECT FUNSALARIO FROM TFUNCIONARIO WHERE FUNCODIGO = %1").arg(code)).toDouble();
    }
};

double salary() { return DM->TBFUNCIONARIOFUNSALARIO->asFloat(); }

bool inEditState(RecordForm *w) { return w->btnSalvar->isEnabled() && !w->btnNovo->isEnabled(); }
bool inBrowseState(RecordForm *w) { return !w->btnSalvar->isEnabled() && w->btnNovo->isEnabled(); }

} // namespace

class TestFuncionarioEvento : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }
    void cleanup() { Today::setForTests(QDate()); }

    void salaryFollowsThePositionByKeyboardAndOnExit()
    {
        Program p;
        p.positions();
        p.employee(1, "ANA", 1, 500.0);
        auto w = p.open<TFFuncionario>();
        QCOMPARE(w->DBLookupComboBox1->currentText(), QString("CARGO 1"));
        QCOMPARE(w->DBEdit3->text(), QString("1"));
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Down);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(DM->TBFUNCIONARIOFUNCARGO->asInteger(), 2);
        QCOMPARE(DM->TBCARGO->currentIndex(), 1); // the shared table follows the list
        QCOMPARE(salary(), 2000.0);
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Down);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Up);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(salary(), 2000.0);

        // A salary typed by hand stays until the list is entered and left again.
        w->DBEdit8->setFocus();
        w->DBEdit8->selectAll();
        QTest::keyClicks(w->DBEdit8, "1234");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBLookupComboBox1->setFocus();
        QCOMPARE(salary(), 1234.0);
        w->DBEdit2->setFocus(); // leaving the list
        QCOMPARE(salary(), 2000.0);
        QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.storedSalary(1), 2000.0);
        QCOMPARE(p.fx.db.scalar("SELECT FUNCARGO FROM TFUNCIONARIO").toInt(), 2);
    }

    void salaryLeftAloneWithoutAPosition()
    {
        Program p;
        p.positions();
        p.employee(1, "ANA", QVariant(), 750.0);
        p.employee(2, "BETO", 9, 820.0); // a position deleted since
        auto w = p.open<TFFuncionario>();
        DM->TBCARGO->last(); // where another window left the shared table
        for (double expected : {750.0, 820.0}) {
            w->btnAlterar->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QCOMPARE(w->DBLookupComboBox1->currentIndex(), -1);
            w->DBLookupComboBox1->setFocus();
            QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Shift);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            w->DBEdit2->setFocus();
            QCOMPARE(salary(), expected);
            w->btnSalvar->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QCOMPARE(p.storedSalary(int(expected == 750.0 ? 1 : 2)), expected);
            DM->TBFUNCIONARIO->next();
        }
    }

    void aPositionAddedThroughCargoIsInTheList()
    {
        Program p;
        Messages::Recorder recorder;
        p.positions();
        p.employee(1, "ANA", 1, 500.0);
        auto w = p.open<TFFuncionario>();
        QVERIFY(!w->btnCargo->isEnabled());
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->btnCargo->isEnabled());
        QWidget *owner = nullptr;
        whenModalOpens([&](QWidget *modal) {
            owner = modal->parentWidget();
            auto *positions = qobject_cast<TFCargo *>(modal);
            QVERIFY(positions);
            positions->btnNovo->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClicks(positions->DBEdit2, "zelador");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClicks(positions->DBEdit3, "1500");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            positions->btnSalvar->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            positions->close();
        });
        w->btnCargo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.shown.isEmpty());
        QCOMPARE(owner, w.get());
        QVERIFY(!FCargo);
        QCOMPARE(w->DBLookupComboBox1->count(), 4);
        QCOMPARE(w->DBLookupComboBox1->currentText(), QString("CARGO 1")); // still the employee's own
        QVERIFY(inEditState(w.get()));
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_End);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBLookupComboBox1->currentText(), QString("ZELADOR"));
        QCOMPARE(salary(), 1500.0);
    }

    void employeeKeysTabOrderAndCapitals()
    {
        Program p;
        p.positions();
        p.employee(1, "ANA", 1, 500.0);
        p.employee(7, "BETO", 2, 500.0);
        auto w = p.open<TFFuncionario>();
        QTest::keyClick(w.get(), Qt::Key_Escape); // nothing to cancel: and never Sair
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QCOMPARE(w->GroupBox1->findChildren<QLabel *>().at(6)->text(), QString("Ctrl+P para Lista Func."));

        QTest::keyClick(w.get(), Qt::Key_F8);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QVERIFY(w->searchBox->hasFocus());
        QTest::keyClicks(w->searchBox, "an");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->searchBox->text(), QString("AN"));
        QCOMPARE(DM->TBFUNCIONARIO->recordCount(), 1);

        QTest::keyClick(w->searchBox, Qt::Key_F1); // the filter does not narrow the new code
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        QCOMPARE(w->DBEdit1->text(), QString("8"));
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClicks(w->DBEdit2, "jose");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit2->text(), QString("JOSE"));
        QTest::keyClick(w->DBEdit2, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit3->hasFocus());
        w->DBEdit5->setFocus();
        QTest::keyClick(w->DBEdit5, Qt::Key_Down); // the UF list comes after the navigator
        QVERIFY(w->DBEdit7->hasFocus());
        w->DBEdit12->setFocus();
        QTest::keyClicks(w->DBEdit12, "jose@igreja.org");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit12->text(), QString("JOSE@IGREJA.ORG"));
        QTest::keyClick(w->DBEdit12, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBComboBox1->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBLookupComboBox1->hasFocus());

        QTest::keyClick(w->DBEdit12, Qt::Key_F8); // Consultar is disabled while editing
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        QTest::keyClick(w->DBEdit12, Qt::Key_Escape); // Cancelar
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QVERIFY(!w->btnCargo->isEnabled());
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TFUNCIONARIO").toInt(), 2);
    }

    void eventKeysAndFields()
    {
        Program p;
        Today::setForTests(QDate(2026, 5, 10));
        p.employee(3, "CARLOS", QVariant(), 0.0);
        auto w = p.open<TFEvento>();
        QVERIFY(!w->GroupBox1 && w->btnRelatorio);
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBMemo1->hasFocus());
        QTest::keyClicks(w->DBMemo1, "Culto");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBMemo1, Qt::Key_Return); // a new line, not the next box
        QTest::keyClicks(w->DBMemo1, "de louvor");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBMemo1->hasFocus());
        QTest::keyClick(w->DBMemo1, Qt::Key_Up); // the caret moves, the focus stays
        QVERIFY(w->DBMemo1->hasFocus());
        w->DBEdit3->setFocus();
        QTest::keyClicks(w->DBEdit3, "10052026");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit3, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit4->hasFocus());
        QTest::keyClicks(w->DBEdit4, "25"); // no range test
        QTest::keyClick(w->DBEdit4, Qt::Key_Down);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit5, "75");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit5, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit6, "4"); // no such employee
        QTest::keyClick(w->DBEdit6, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBLookupComboBox1->hasFocus());
        QCOMPARE(w->DBLookupComboBox1->currentIndex(), -1);
        QCOMPARE(w->DBLookupComboBox1->currentText(), QString());
        w->DBEdit6->setFocus();
        w->DBEdit6->selectAll();
        QTest::keyClicks(w->DBEdit6, "3");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBMemo1->setFocus();
        QCOMPARE(w->DBLookupComboBox1->currentText(), QString("CARLOS"));
        QTest::keyClick(w->DBMemo1, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.fx.db.scalar("SELECT EVEDESCRICAO FROM TEVENTO").toString(), QString("Culto\nde louvor"));
        QCOMPARE(p.fx.db.scalar("SELECT EVEDATA FROM TEVENTO").toDate(), QDate(2026, 5, 10));
        QCOMPARE(p.fx.db.scalar("SELECT EVEHORA FROM TEVENTO").toInt(), 25);
        QCOMPARE(p.fx.db.scalar("SELECT EVEMINUTOS FROM TEVENTO").toInt(), 75);
        QCOMPARE(p.fx.db.scalar("SELECT EVEFUNCIONARIO FROM TEVENTO").toInt(), 3);

        QTest::keyClick(w.get(), Qt::Key_Escape); // nothing in the browse state
        QVERIFY(w->isVisible());
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Escape); // Sair, although disabled
        QVERIFY(!w->isVisible());
        QCOMPARE(DM->TBEVENTO->state(), Dataset::State::Browse);

        p.menu->btnFechar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        p.menu->btnAbrir->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(p.menu->txtEventos->toPlainText().contains("* Culto\nde louvor às 25:75"));
    }

    void newEventCodeRereadsWhateverTheFilter()
    {
        Program p;
        p.fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO) VALUES (1, 'Ensaio')");
        p.fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO) VALUES (2, 'Culto')");
        auto w = p.open<TFEvento>();
        w->btnConsultar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->searchBox->hasFocus());
        QTest::keyClicks(w->searchBox, "ens");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->searchBox->text(), QString("ens")); // no capitals here
        QCOMPARE(DM->TBEVENTO->filter(), QString("(UPPER(EVEDESCRICAO) LIKE UPPER('%ens%'))"));
        QCOMPARE(DM->TBEVENTO->recordCount(), 1);
        p.fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO) VALUES (9, 'Vigilia')"); // another workstation
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("10"));
        QTest::keyClick(w->DBMemo1, Qt::Key_Escape); // closing drops the pending row
        QVERIFY(!w->isVisible());
        QVERIFY(!DM->TBEVENTO->hasPendingChanges());
    }

    void anEmployeeSearchNarrowsTheEventsList()
    {
        Program p;
        p.employee(1, "ANA", QVariant(), 0.0);
        p.employee(2, "MARIANA", QVariant(), 0.0);
        p.employee(3, "CARLOS", QVariant(), 0.0);
        auto employees = p.open<TFFuncionario>();
        employees->searchBox->setText("ana");
        employees->close();
        auto events = p.open<TFEvento>();
        QCOMPARE(events->DBLookupComboBox1->count(), 2);
        QCOMPARE(events->DBLookupComboBox1->itemText(1), QString("MARIANA"));
    }

    void theMainWindowOpensBothRegisters()
    {
        Program p;
        QCOMPARE(Program::captionsOpenedBy({[&] { p.menu->SpeedButton3->click(); }, [&] { p.menu->Funcionrios1->trigger(); }, [&] { p.menu->SpeedButton5->click(); }, [&] { p.menu->Evento1->trigger(); }}),
                 QStringList({"Cadastro de Funcionários", "Cadastro de Funcionários", "Cadastro de Eventos", "Cadastro de Eventos"}));
        QVERIFY(!FFuncionario && !FEvento);
    }
};

QTEST_MAIN(TestFuncionarioEvento)
#include "tst_funcionario_evento.moc"
