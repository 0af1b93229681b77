// The cash movements window driven as a user would: the kind that must be
// chosen before saving, the shortcut keys, the book list and the books
// register opened from it, the amounts, and the books' balances left alone.
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "data/Messages.h"
#include "data/UDM.h"
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "data/controls/DBLookupComboBox.h"
#include "data/controls/DBNavigator.h"
#include "data/controls/DBRadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

struct Program : SignedInProgram
{
    void book(int code, const QString &description, const QVariant &previous = {}, const QVariant &current = {})
    {
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO, LIVSALDOANTERIOR, "
                   "LIVSALDOATUAL) VALUES (?, 5, 'Maio', 2011, ?, ?, ?)",
                   {code, description, previous, current});
    }
    void movement(int code, const QString &description, const QString &kind)
    {
        fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO) "
                   "VALUES (?, ?, 1, 10, ?)",
                   {code, description, kind});
    }
    QVariant stored(const QString &column, int code)
    {
        return fx.db.scalar(QString("SELECT %1 FROM TMOVIMETACOES WHERE MOVCODIGO = %2").arg(column).arg(code));
    }
    int count() { return fx.db.scalar("SELECT COUNT(*) FROM TMOVIMETACOES").toInt(); }
};

bool inEditState(RecordForm *w) { return w->btnSalvar->isEnabled() && !w->btnNovo->isEnabled(); }
bool inBrowseState(RecordForm *w) { return !w->btnSalvar->isEnabled() && w->btnNovo->isEnabled(); }

bool focusIn(QWidget *w) { return w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()); }

} // namespace

class TestMovimentacoes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void aMovementWithoutAKindIsRefused()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open<TFMovimentacoes>();
        w->btnNovo->click();
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClicks(w->DBEdit2, "oferta");
        QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        QCOMPARE(recorder.texts(), QStringList({"Informe se a movimentação é uma ENTRADA ou SAÍDA!"}));
        QCOMPARE(recorder.shown.first().kind, Messages::Shown::Information);
        QVERIFY(focusIn(w->DBRadioGroup1));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(DM->TBMOVIMENTACOES->state(), Dataset::State::Insert);
        QCOMPARE(p.count(), 0);

        w->DBRadioGroup1->button(0)->click();
        w->btnSalvar->click();
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.stored("MOVDEBITOCREDITO", 1).toString(), QString("ENTRADA"));
        QCOMPARE(p.stored("MOVDESCRICAO", 1).toString(), QString("OFERTA"));
        QCOMPARE(recorder.shown.size(), 1);
    }

    void saidaClickedThenF5AtOnce()
    {
        Program p;
        auto w = p.open<TFMovimentacoes>();
        QTest::keyClick(w.get(), Qt::Key_F1);
        QTest::mouseClick(w->DBRadioGroup1->button(1), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.stored("MOVDEBITOCREDITO", 1).toString(), QString("SAIDA"));
        QVERIFY(w->Edit1->isEnabled());
    }

    void shortcutKeysInBothStates()
    {
        Program p;
        Messages::Recorder recorder;
        p.movement(1, "DIZIMO", "ENTRADA");
        auto w = p.open<TFMovimentacoes>();
        QCOMPARE(w->GroupBox1->findChildren<QLabel *>().size(), 7);
        QTest::keyClick(w.get(), Qt::Key_F5); // Salvar disabled: nothing
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(w->isVisible() && inBrowseState(w.get()));

        w->btnNovo->click();
        QCOMPARE(w->DBEdit1->text(), QString("2"));
        QTest::keyClicks(w->DBEdit2, "luz");
        p.movement(5, "AGUA", "SAIDA"); // another workstation
        QTest::keyClick(w->DBEdit2, Qt::Key_F1); // enabled or not: re-read, a fresh movement
        QCOMPARE(w->DBEdit1->text(), QString("6"));
        QCOMPARE(w->DBEdit2->text(), QString());
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClick(w->DBEdit2, Qt::Key_F4); // Sair disabled
        QTest::keyClick(w->DBEdit2, Qt::Key_F8);
        QVERIFY(w->isVisible() && w->PageControl1->currentIndex() == 0);
        QTest::keyClick(w->DBEdit2, Qt::Key_Escape); // Cancelar, never Sair
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QCOMPARE(p.count(), 2);

        // Shift+Del while editing: asked, deleted, still editing.
        DM->TBMOVIMENTACOES->first();
        w->btnAlterar->click();
        recorder.answers = {false, true};
        QTest::keyClick(w->DBEdit2, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(p.count(), 2);
        QTest::keyClick(w->DBEdit2, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(recorder.shown.size(), 2);
        QCOMPARE(recorder.shown.last().text, QString("Você realmente deseja excluir este registro ?"));
        QVERIFY(p.stored("MOVCODIGO", 1).isNull());
        QCOMPARE(p.count(), 1);
        QVERIFY(inEditState(w.get()));

        QTest::keyClick(w->DBEdit2, Qt::Key_F1);
        recorder.answers = {true};
        QTest::keyClick(w->DBEdit2, Qt::Key_Delete, Qt::ShiftModifier); // a new one is simply dropped
        QCOMPARE(p.count(), 1);
    }

    void theBookListAndLivros()
    {
        Program p;
        Messages::Recorder recorder;
        p.book(1, "CAIXA DE MAIO");
        auto w = p.open<TFMovimentacoes>();
        QCOMPARE(w->PageControl1->tabText(0), QString("Movimentação"));
        QVERIFY(!w->btnLivro->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_F1);
        QVERIFY(w->btnLivro->isEnabled());
        w->DBEdit3->setFocus();
        QTest::keyClicks(w->DBEdit3, "9"); // no such book
        QTest::keyClick(w->DBEdit3, Qt::Key_Return);
        QVERIFY(w->DBEdit4->hasFocus());
        QCOMPARE(w->DBLookupComboBox1->currentIndex(), -1);

        QWidget *owner = nullptr;
        whenModalOpens([&](QWidget *modal) {
            owner = modal->parentWidget();
            auto *books = qobject_cast<TFLivroCaixa *>(modal);
            QVERIFY(books);
            books->btnNovo->click();
            QTest::keyClicks(books->DBEdit2, "6");
            QTest::keyClick(books->DBEdit2, Qt::Key_Return);
            QTest::keyClicks(books->DBEdit4, "2011");
            books->DBEdit5->setFocus();
            QTest::keyClicks(books->DBEdit5, "caixa de junho");
            books->btnSalvar->click();
            books->close();
        });
        w->btnLivro->click();
        QCOMPARE(owner, w.get());
        QVERIFY(!FLivroCaixa);
        QCOMPARE(w->DBLookupComboBox1->count(), 2);
        QCOMPARE(w->DBLookupComboBox1->itemText(1), QString("CAIXA DE JUNHO"));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(w->DBEdit3->text(), QString("9")); // still the movement's own

        w->DBRadioGroup1->button(0)->click();
        w->btnSalvar->click();
        QCOMPARE(p.stored("MOVLIVRO", 1).toInt(), 9); // saved as typed

        w->btnAlterar->click();
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_End);
        QCOMPARE(w->DBEdit3->text(), QString("2"));
        w->btnSalvar->click();
        QCOMPARE(p.stored("MOVLIVRO", 1).toInt(), 2);
        QVERIFY(recorder.shown.isEmpty());
    }

    void movementsLeaveTheBalancesAlone()
    {
        Program p;
        Messages::Recorder recorder;
        recorder.defaultAnswer = true;
        p.book(1, "CAIXA DE MAIO", 100.0, 250.0);
        auto w = p.open<TFMovimentacoes>();
        const auto balances = [&] {
            return QList<double>{p.fx.db.scalar("SELECT LIVSALDOANTERIOR FROM TLIVRO").toDouble(),
                                 p.fx.db.scalar("SELECT LIVSALDOATUAL FROM TLIVRO").toDouble()};
        };
        w->btnNovo->click();
        QTest::keyClicks(w->DBEdit3, "1");
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, "50");
        w->DBRadioGroup1->button(1)->click();
        w->btnSalvar->click();
        QCOMPARE(p.count(), 1);
        QCOMPARE(balances(), QList<double>({100.0, 250.0}));
        w->btnAlterar->click();
        w->DBRadioGroup1->button(0)->click();
        w->btnSalvar->click();
        QCOMPARE(p.stored("MOVDEBITOCREDITO", 1).toString(), QString("ENTRADA"));
        QCOMPARE(balances(), QList<double>({100.0, 250.0}));
        w->btnExcluir->click();
        QCOMPARE(p.count(), 0);
        QCOMPARE(balances(), QList<double>({100.0, 250.0}));
    }

    void amountsTypedTheBrazilianWay_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("plain") << "1234,56";
        QTest::newRow("grouped") << "1.234,56";
    }
    void amountsTypedTheBrazilianWay()
    {
        QFETCH(QString, typed);
        Program p;
        Messages::Recorder recorder;
        auto w = p.open<TFMovimentacoes>();
        w->btnNovo->click();
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, typed);
        w->DBEdit6->setFocus();
        QCOMPARE(w->DBEdit4->text(), QLocale().toCurrencyString(1234.56));
        w->DBEdit4->setFocus();
        QCOMPARE(w->DBEdit4->text().remove('.'), QString("1234,56")); // plain while edited
        w->DBRadioGroup1->button(0)->click();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        QVERIFY(recorder.shown.isEmpty());
        QCOMPARE(p.stored("MOVVALOR", 1).toDouble(), 1234.56);
    }

    void anAmountThatIsNoNumberIsRefused()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open<TFMovimentacoes>();
        w->btnNovo->click();
        w->DBRadioGroup1->button(0)->click();
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, "12,3,4");
        QTest::keyClick(w->DBEdit4, Qt::Key_F5);
        QVERIFY(!recorder.shown.isEmpty());
        QVERIFY(recorder.shown.first().text.contains("12,3,4"));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(p.count(), 0);
        w->DBEdit4->setFocus();
        w->DBEdit4->selectAll();
        QTest::keyClicks(w->DBEdit4, "7,5");
        QTest::keyClick(w->DBEdit4, Qt::Key_F5);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.stored("MOVVALOR", 1).toDouble(), 7.5);
    }

    void queryPageTabOrderAndSearch()
    {
        Program p;
        p.movement(1, "Oferta de domingo", "ENTRADA");
        p.movement(2, "CONTA DE LUZ", "SAIDA");
        auto w = p.open<TFMovimentacoes>();
        QStringList titles;
        for (int c = 0; c < w->DBGrid1->model()->columnCount(); ++c)
            titles << w->DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"CÓDIGO", "DESCRIÇÃO", "VALOR", "ENTR/SAIDA", "DATA"}));
        QTest::keyClick(w.get(), Qt::Key_F8);
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QVERIFY(w->searchBox->hasFocus());
        QTest::keyClicks(w->searchBox, "ofer");
        QCOMPARE(w->searchBox->text(), QString("ofer"));
        QCOMPARE(DM->TBMOVIMENTACOES->filter(), QString("(UPPER(MOVDESCRICAO) LIKE UPPER('%ofer%'))"));
        QCOMPARE(DM->TBMOVIMENTACOES->recordCount(), 1);

        QTest::keyClick(w->searchBox, Qt::Key_F1); // the filter does not narrow the new code
        QCOMPARE(w->DBEdit1->text(), QString("3"));
        QTest::keyClicks(w->DBEdit2, "x");
        QTest::keyClick(w->DBEdit2, Qt::Key_Return);
        QVERIFY(w->DBEdit3->hasFocus());
        QTest::keyClick(w->DBEdit3, Qt::Key_Down);
        QVERIFY(w->DBEdit4->hasFocus());
        QTest::keyClick(w->DBEdit4, Qt::Key_Return);
        QVERIFY(w->DBEdit6->hasFocus());
        w->DBEdit6->setFocus();
        QTest::keyClick(w->DBEdit6, Qt::Key_Up);
        QVERIFY(w->DBEdit4->hasFocus());
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Tab);
        QVERIFY(w->Edit1->hasFocus());
    }

    void theMainWindowOpensBothWindows()
    {
        Program p;
        QCOMPARE(Program::captionsOpenedBy({[&] { p.menu->SpeedButton2->click(); }, [&] { p.menu->MovimentaesdoLivroCaixa1->trigger(); }, [&] { p.menu->CadastrodoLivroCaixadoMs1->trigger(); }}),
                 QStringList({"Movimentações de Caixa", "Movimentações de Caixa", "Cadastro do Livro Caixa do Mês"}));
    }
};

QTEST_MAIN(TestMovimentacoes)
#include "tst_movimentacoes.moc"
