// The monthly cash book register driven as a user would: the month name
// from the number, on leaving the box and on saving, the new codes, and the
// register's fields and keys.
#include "Invariants.h"
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBMemo.h"
#include "controls/DBNavigator.h"

#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

struct Program : SignedInProgram
{
    void book(int code, int month, const QString &name, const QString &description)
    {
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO) VALUES (?, ?, ?, 2011, ?)",
                   {code, month, name, description});
    }
    QVariant stored(const QString &column, int code)
    {
        return fx.db.scalar(QString("SELECT %1 FROM TLIVRO WHERE LIVCODIGO = %2").arg(column).arg(code));
    }
};

bool inEditState(RecordForm *w) { return w->btnSalvar->isEnabled() && !w->btnNovo->isEnabled(); }
bool inBrowseState(RecordForm *w) { return !w->btnSalvar->isEnabled() && w->btnNovo->isEnabled(); }

} // namespace

class TestLivroCaixa : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void monthNameOnLeavingTheMonthBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::newRow("1") << "1" << "Janeiro";
        QTest::newRow("3") << "3" << "Março";
        QTest::newRow("12") << "12" << "Dezembro";
        QTest::newRow("0") << "0" << "";
        QTest::newRow("13") << "13" << "";
        QTest::newRow("empty") << "" << "";
    }
    void monthNameOnLeavingTheMonthBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        Program p;
        auto w = p.open<TFLivroCaixa>();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClicks(w->DBEdit2, typed);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit2, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit4->hasFocus()); // the name box is never entered
        QCOMPARE(w->DBEdit3->text(), name);
        QCOMPARE(DM->TBLIVROLIVNOMEMES->asString(), name);
    }

    void anOtherNumberLeavesAChangedBooksName()
    {
        Program p;
        p.book(1, 5, "Maio", "MAIO");
        auto w = p.open<TFLivroCaixa>();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit2->selectAll();
        QTest::keyClicks(w->DBEdit2, "13");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit5->setFocus();
        QCOMPARE(w->DBEdit3->text(), QString("Maio"));
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.stored("LIVMES", 1).toInt(), 13);
        QCOMPARE(p.stored("LIVNOMEMES", 1).toString(), QString("Maio"));
    }

    void savingFromTheMonthBoxFillsInTheName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QVariant>("name");
        QTest::newRow("3 F5") << "3" << true << QVariant(QString("Março"));
        QTest::newRow("12 button") << "12" << false << QVariant(QString("Dezembro"));
        QTest::newRow("1 button") << "1" << false << QVariant(QString("Janeiro"));
        QTest::newRow("0 F5") << "0" << true << QVariant();
        QTest::newRow("13 F5") << "13" << true << QVariant();
        QTest::newRow("empty button") << "" << false << QVariant();
    }
    void savingFromTheMonthBoxFillsInTheName()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byKey);
        QFETCH(QVariant, name);
        Program p;
        auto w = p.open<TFLivroCaixa>();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit2, typed);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        if (byKey)
            QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        else
            w->btnSalvar->click(); // takes no focus: still in the month box
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.stored("LIVNOMEMES", 1).isNull(), name.isNull());
        if (!name.isNull())
            QCOMPARE(p.stored("LIVNOMEMES", 1).toString(), name.toString());
    }

    void newCodes()
    {
        {
            Program p;
            auto w = p.open<TFLivroCaixa>();
            w->btnNovo->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QCOMPARE(w->DBEdit1->text(), QString("1"));
        }
        Program p;
        for (int code : {1, 2, 7})
            p.book(code, code, TFLivroCaixa::monthName(code), QString("LIVRO %1").arg(code));
        auto w = p.open<TFLivroCaixa>();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("8"));
        QVERIFY(DM->TBLIVROLIVSALDOANTERIOR->isNull() && DM->TBLIVROLIVSALDOATUAL->isNull());
    }

    void twoBooksOfOneMonthFieldsAndKeys()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open<TFLivroCaixa>();
        QCOMPARE(w->windowTitle(), QString("Cadastro do Livro Caixa do Mês"));
        QCOMPARE(w->PageControl1->tabText(0), QString("Cadastro"));
        QVERIFY(!w->GroupBox1 && !w->searchBox);
        QVERIFY(w->btnRelatorio && w->btnRelatorio->isEnabled());
        // No control shows or edits the balances.
        for (DBEdit *e : w->findChildren<DBEdit *>())
            QVERIFY(!e->field()->fieldName().startsWith("LIVSALDO"));
        QCOMPARE(w->DBGrid1->model()->columnCount(), 3);
        QStringList titles;
        for (int c = 0; c < 3; ++c)
            titles << w->DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"MÊS", "ANO", "DESCRIÇÃO"}));

        for (int i = 0; i < 2; ++i) {
            w->btnNovo->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QVERIFY(inEditState(w.get()) && !w->btnRelatorio->isEnabled());
            QVERIFY(w->DBEdit1->isReadOnly() && w->DBEdit3->isReadOnly());
            QTest::keyClicks(w->DBEdit2, "5");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClick(w->DBEdit2, Qt::Key_Down);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClicks(w->DBEdit4, "2011");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClick(w->DBEdit4, Qt::Key_Return);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QVERIFY(w->DBEdit5->hasFocus());
            QTest::keyClicks(w->DBEdit5, "caixa de maio");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QCOMPARE(w->DBEdit5->text(), QString("CAIXA DE MAIO"));
            QTest::keyClick(w->DBEdit5, Qt::Key_Return);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QVERIFY(w->DBMemo1->hasFocus());
            QTest::keyClicks(w->DBMemo1, "Igreja central");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClick(w->DBMemo1, Qt::Key_Return); // out of the memo, not a new line
            QVERIFY(!w->DBMemo1->hasFocus());
            w->DBMemo1->setFocus();
            QTest::keyClick(w->DBMemo1, Qt::Key_Up);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QVERIFY(w->DBEdit5->hasFocus());
            QTest::keyClick(w->DBEdit5, Qt::Key_F5);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QVERIFY(inBrowseState(w.get()));
        }
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TLIVRO WHERE LIVMES = 5 AND LIVANO = 2011 AND "
                                "LIVNOMEMES = 'Maio' AND LIVDESCRICAO = 'CAIXA DE MAIO'").toInt(), 2);
        QCOMPARE(p.stored("LIVOBSERVACAO", 2).toString(), QString("Igreja central"));
        QVERIFY(p.stored("LIVSALDOATUAL", 2).isNull());

        QTest::keyClick(w.get(), Qt::Key_Escape); // no shortcut menu: Esc alone is nothing
        QVERIFY(w->isVisible());
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBMemo1, Qt::Key_Escape); // a field key: Sair, even while editing
        QVERIFY(!w->isVisible());
        QVERIFY(recorder.shown.isEmpty());
    }
};

QTEST_MAIN(TestLivroCaixa)
#include "tst_livrocaixa.moc"
