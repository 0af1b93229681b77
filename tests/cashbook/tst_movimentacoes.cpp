// The cash movements window driven as a user would: the kind that must be
// chosen before saving, the shortcut keys, the book list and the books
// register opened from it, the amounts, and the books' balances left alone.
#include "Invariants.h"
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBNavigator.h"
#include "controls/DBRadioGroup.h"

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
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClicks(w->DBEdit2, "oferta");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.texts(), QStringList({"Informe se a movimentação é uma ENTRADA ou SAÍDA!"}));
        QCOMPARE(recorder.shown.first().kind, Messages::Shown::Information);
        QVERIFY(focusIn(w->DBRadioGroup1));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(DM->TBMOVIMENTACOES->state(), Dataset::State::Insert);
        QCOMPARE(p.count(), 0);

        w->DBRadioGroup1->button(0)->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.stored("MOVDEBITOCREDITO", 1).toString(), QString("ENTRADA"));
        QCOMPARE(p.stored("MOVDESCRICAO", 1).toString(), QString("OFERTA"));
        QCOMPARE(recorder.shown.size(), 1);
    }

    // "Salvar e Novo" (F6) keeps every rule of Salvar: a movement without its
    // kind, or one the database refuses, stays in the window as typed and
    // no new one begins. Once saved, the next movement proposes the book,
    // the date and the kind of the one saved just before, all editable, with
    // the focus in DESCRIÇÃO; so does Novo.
    void movementsInARow()
    {
        Program p;
        Messages::Recorder recorder;
        p.book(2, "CAIXA DE JUNHO");
        auto w = p.open<TFMovimentacoes>();
        const auto shown = [&w] { // code, description, book, value, date, kind
            return QStringList{w->DBEdit1->text(), w->DBEdit2->text(), w->DBLookupComboBox1->currentText(),
                               w->DBEdit4->text(), w->DBEdit6->text(),
                               QString::number(w->DBRadioGroup1->checkedIndex())};
        };
        QVERIFY(!w->btnSalvarNovo->isEnabled());
        w->btnNovo->click();
        QCOMPARE(shown(), QStringList({"1", "", "", "", "//", "-1"})); // nothing saved before
        QTest::keyClicks(w->DBEdit2, "oferta");
        QTest::keyClicks(w->DBEdit3, "2");
        QTest::keyClicks(w->DBEdit4, "15,50");
        QTest::keyClick(w->DBEdit6, Qt::Key_Home);
        QTest::keyClicks(w->DBEdit6, "05062011");
        QTest::keyClick(w->DBEdit6, Qt::Key_F6);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.texts(), QStringList{"Informe se a movimentação é uma ENTRADA ou SAÍDA!"});
        QVERIFY(inEditState(w.get()) && focusIn(w->DBRadioGroup1) && p.count() == 0);
        QCOMPARE(w->DBEdit2->text(), QString("OFERTA"));

        w->DBRadioGroup1->button(1)->click();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.stored("MOVVALOR", 1).toDouble(), 15.5);
        QVERIFY(inEditState(w.get()) && w->DBEdit2->hasFocus());
        QCOMPARE(shown(), QStringList({"2", "", "CAIXA DE JUNHO", "", "05/06/2011", "1"}));
        QTest::keyClicks(w->DBEdit2, "luz");
        w->DBRadioGroup1->button(0)->click(); // proposed, not imposed
        w->btnSalvarNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.stored("MOVDEBITOCREDITO", 2).toString(), QString("ENTRADA"));
        QCOMPARE(p.stored("MOVDATA", 2).toDate(), QDate(2011, 6, 5));

        QTest::keyClicks(w->DBEdit2, "agua");
        p.movement(3, "AGUA", "SAIDA"); // another workstation takes the code meanwhile
        recorder.clear();
        QTest::keyClick(w->DBEdit2, Qt::Key_F6);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(recorder.shown.first().kind, Messages::Shown::Error);
        QVERIFY(inEditState(w.get()) && p.count() == 3);
        QCOMPARE(shown(), QStringList({"3", "AGUA", "CAIXA DE JUNHO", "", "05/06/2011", "0"}));
        w->btnCancelar->click();
        w->btnNovo->click(); // Novo proposes too
        QCOMPARE(shown(), QStringList({"4", "", "CAIXA DE JUNHO", "", "05/06/2011", "0"}));
        w->btnCancelar->click();
    }

    void saidaClickedThenF5AtOnce()
    {
        Program p;
        auto w = p.open<TFMovimentacoes>();
        QTest::keyClick(w.get(), Qt::Key_F1);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::mouseClick(w->DBRadioGroup1->button(1), Qt::LeftButton);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
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
        QCOMPARE(w->GroupBox1->findChildren<QLabel *>().size(), 8);
        QTest::keyClick(w.get(), Qt::Key_F5); // Salvar disabled: nothing
        QTest::keyClick(w.get(), Qt::Key_Escape);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->isVisible() && inBrowseState(w.get()));

        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("2"));
        QTest::keyClicks(w->DBEdit2, "luz");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        p.movement(5, "AGUA", "SAIDA"); // another workstation
        QTest::keyClick(w->DBEdit2, Qt::Key_F1); // enabled or not: re-read, a fresh movement
        QCOMPARE(w->DBEdit1->text(), QString("6"));
        QCOMPARE(w->DBEdit2->text(), QString());
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClick(w->DBEdit2, Qt::Key_F4); // Sair disabled
        QTest::keyClick(w->DBEdit2, Qt::Key_F8);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->isVisible() && w->PageControl1->currentIndex() == 0);
        QTest::keyClick(w->DBEdit2, Qt::Key_Escape); // Cancelar, never Sair
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QCOMPARE(p.count(), 2);

        // Shift+Del while editing: asked, deleted; the window follows the
        // table, which has no row in edit any more.
        DM->TBMOVIMENTACOES->first();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        recorder.answers = {false, true};
        QTest::keyClick(w->DBEdit2, Qt::Key_Delete, Qt::ShiftModifier);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.count(), 2);
        QTest::keyClick(w->DBEdit2, Qt::Key_Delete, Qt::ShiftModifier);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 2);
        QCOMPARE(recorder.shown.last().text, QString("Você realmente deseja excluir este registro ?"));
        QVERIFY(p.stored("MOVCODIGO", 1).isNull());
        QCOMPARE(p.count(), 1);
        QVERIFY(inBrowseState(w.get()) && !DM->TBMOVIMENTACOES->editing());

        QTest::keyClick(w->DBEdit2, Qt::Key_F1);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
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
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->btnLivro->isEnabled());
        w->DBEdit3->setFocus();
        QTest::keyClicks(w->DBEdit3, "9"); // no such book
        QTest::keyClick(w->DBEdit3, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit4->hasFocus());
        QCOMPARE(w->DBLookupComboBox1->currentIndex(), -1);

        QWidget *owner = nullptr;
        whenModalOpens([&](QWidget *modal) {
            owner = modal->parentWidget();
            auto *books = qobject_cast<TFLivroCaixa *>(modal);
            QVERIFY(books);
            books->btnNovo->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClicks(books->DBEdit2, "6");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClick(books->DBEdit2, Qt::Key_Return);
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            QTest::keyClicks(books->DBEdit4, "2011");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            books->DBEdit5->setFocus();
            QTest::keyClicks(books->DBEdit5, "caixa de junho");
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            books->btnSalvar->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            books->close();
        });
        w->btnLivro->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(owner, w.get());
        QVERIFY(!FLivroCaixa);
        QCOMPARE(w->DBLookupComboBox1->count(), 2);
        QCOMPARE(w->DBLookupComboBox1->itemText(1), QString("CAIXA DE JUNHO"));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(w->DBEdit3->text(), QString("9")); // still the movement's own

        w->DBRadioGroup1->button(0)->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.stored("MOVLIVRO", 1).toInt(), 9); // saved as typed

        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_End);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit3->text(), QString("2"));
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
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
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit3, "1");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, "50");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBRadioGroup1->button(1)->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.count(), 1);
        QCOMPARE(balances(), QList<double>({100.0, 250.0}));
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBRadioGroup1->button(0)->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.stored("MOVDEBITOCREDITO", 1).toString(), QString("ENTRADA"));
        QCOMPARE(balances(), QList<double>({100.0, 250.0}));
        w->btnExcluir->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
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
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, typed);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit6->setFocus();
        QCOMPARE(w->DBEdit4->text(), QLocale().toCurrencyString(1234.56));
        w->DBEdit4->setFocus();
        QCOMPARE(w->DBEdit4->text().remove('.'), QString("1234,56")); // plain while edited
        w->DBRadioGroup1->button(0)->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(recorder.shown.isEmpty());
        QCOMPARE(p.stored("MOVVALOR", 1).toDouble(), 1234.56);
    }

    void anAmountThatIsNoNumberIsRefused()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open<TFMovimentacoes>();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBRadioGroup1->button(0)->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, "12,3,4");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit4, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!recorder.shown.isEmpty());
        QVERIFY(recorder.shown.first().text.contains("12,3,4"));
        QVERIFY(inEditState(w.get()));
        QCOMPARE(p.count(), 0);
        w->DBEdit4->setFocus();
        w->DBEdit4->selectAll();
        QTest::keyClicks(w->DBEdit4, "7,5");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit4, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
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
        QCOMPARE(titles, QStringList({"CÓDIGO", "DESCRIÇÃO", "VALOR", "ENTR/SAIDA", "DATA", "CONFERÊNCIA"}));
        QTest::keyClick(w.get(), Qt::Key_F8);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QVERIFY(w->searchBox->hasFocus());
        QTest::keyClicks(w->searchBox, "ofer");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->searchBox->text(), QString("ofer"));
        QCOMPARE(DM->TBMOVIMENTACOES->filter(), QString("(UPPER(MOVDESCRICAO) LIKE UPPER('%ofer%'))"));
        QCOMPARE(DM->TBMOVIMENTACOES->recordCount(), 1);

        QTest::keyClick(w->searchBox, Qt::Key_F1); // the filter does not narrow the new code
        QCOMPARE(w->DBEdit1->text(), QString("3"));
        QTest::keyClicks(w->DBEdit2, "x");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit2, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit3->hasFocus());
        QTest::keyClick(w->DBEdit3, Qt::Key_Down);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit4->hasFocus());
        QTest::keyClick(w->DBEdit4, Qt::Key_Return);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit6->hasFocus());
        w->DBEdit6->setFocus();
        QTest::keyClick(w->DBEdit6, Qt::Key_Up);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit4->hasFocus());
        w->DBLookupComboBox1->setFocus();
        QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Tab);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
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
