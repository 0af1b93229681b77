// Every register, those that read the table anew on Novo and those that do
// not: while a row is inserted or edited, nothing that would leave it is
// available (navigator, grid, the "Consulta" page, the search), so a change
// the user cancels is never stored, not even by the next save of that table.
#include "Invariants.h"
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "uikit/Messages.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBLookupComboBox.h"
#include "controls/DBNavigator.h"
#include "controls/DBRadioGroup.h"
#include "main/UParamentros.h"
#include "registers/UCargo.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

struct Register
{
    const char *name;
    std::function<std::unique_ptr<RecordForm>(SignedInProgram &)> open;
    const char *table, *codeColumn, *textColumn;
    const char *box; // the control of the text column
    std::function<void(RecordForm *)> completeNewRow = {};
};

template <typename Window> std::function<std::unique_ptr<RecordForm>(SignedInProgram &)> opener()
{
    return [](SignedInProgram &p) -> std::unique_ptr<RecordForm> { return p.open<Window>(); };
}

const std::vector<Register> &registers()
{
    static const std::vector<Register> all = {
        {"cargos (relê no Novo)", opener<TFCargo>(), "TCARGO", "CARCODIGO", "CARDESCRICAO", "DBEdit2"},
        {"membros (relê no Novo)", opener<TFMembro>(), "TMEMBRO", "MEMCODIGO", "MEMNOME", "DBEdit2"},
        {"eventos (relê no Novo)", opener<TFEvento>(), "TEVENTO", "EVECODIGO", "EVEDESCRICAO", "DBMemo1"},
        {"movimentações (relê no Novo)", opener<TFMovimentacoes>(), "TMOVIMETACOES", "MOVCODIGO", "MOVDESCRICAO",
         "DBEdit2",
         [](RecordForm *w) { static_cast<TFMovimentacoes *>(w)->DBRadioGroup1->button(0)->click(); }},
        {"parâmetros (sem reler)", opener<TFParamentros>(), "TPARAMETROS", "PARCODIGO", "PARVALOR", "DBEdit2"},
        {"funcionários (sem reler)", opener<TFFuncionario>(), "TFUNCIONARIO", "FUNCODIGO", "FUNNOME", "DBEdit2"},
        {"livros caixa (sem reler)", opener<TFLivroCaixa>(), "TLIVRO", "LIVCODIGO", "LIVDESCRICAO", "DBEdit5"},
    };
    return all;
}

// What a user types over the whole text of a box.
void typeOver(QWidget *box, const QString &text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

QString textOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    return static_cast<QPlainTextEdit *>(box)->toPlainText();
}

QTabBar *tabsOf(RecordForm *w) { return w->PageControl1->findChild<QTabBar *>(); }

QPoint gridRow(RecordForm *w, int row)
{
    return w->DBGrid1->visualRect(w->DBGrid1->model()->index(row, 0)).center();
}

// The grid's row of the stored row `code`: a table is read in the order the
// engine keeps it, and rows inserted after a delete may take the freed places.
int gridRowOfCode(RecordForm *w, const char *codeColumn, int code)
{
    const int column = w->table()->fieldByName(QString::fromLatin1(codeColumn))->index();
    for (int row = 0; row < w->table()->recordCount(); ++row)
        if (w->table()->valueAt(row, column).toInt() == code)
            return row;
    return -1;
}

// Everything a user can do to get to another row or to the query page.
QList<std::pair<QString, std::function<void()>>> waysToLeaveTheRow(RecordForm *w, QWidget *box)
{
    QList<std::pair<QString, std::function<void()>>> ways{
        {"clique na aba Consulta",
         [w] { QTest::mouseClick(tabsOf(w), Qt::LeftButton, {}, tabsOf(w)->tabRect(1).center()); }},
        {"Ctrl+Tab", [w] { QTest::keyClick(w->PageControl1, Qt::Key_Tab, Qt::ControlModifier); }},
        {"F8", [box] { QTest::keyClick(box, Qt::Key_F8); }},
        {"Consultar", [w] { w->btnConsultar->click(); }},
        {"clique na grade", [w] { QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, gridRow(w, 0)); }},
        {"duplo clique na grade",
         [w] { QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, gridRow(w, 0)); }},
    };
    if (w->DBNavigator1)
        for (auto which : {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last})
            ways.append({QString("navegador %1").arg(int(which)),
                         [w, which] { QTest::mouseClick(w->DBNavigator1->button(which), Qt::LeftButton); }});
    if (w->searchBox) {
        ways.append({"busca digitada", [w] { QTest::keyClicks(w->searchBox, "P"); }});
        ways.append({"Buscar", [w] { QTest::mouseClick(w->btnBuscar, Qt::LeftButton); }});
    }
    return ways;
}

} // namespace

class TestRowLockout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void aCancelledChangeIsNeverStored_data()
    {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < registers().size(); ++i)
            QTest::newRow(registers()[i].name) << int(i);
    }

    void aCancelledChangeIsNeverStored()
    {
        QFETCH(int, index);
        const Register &r = registers()[size_t(index)];
        SignedInProgram p;
        Messages::Recorder recorder;
        const QString insert = QString("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(r.table, r.codeColumn, r.textColumn);
        p.fx.db.exec(QString("DELETE FROM %1").arg(r.table)); // the parameters hold the program's level
        p.fx.db.exec(insert, {1, "PRIMEIRO"});
        p.fx.db.exec(insert, {2, "SEGUNDO"});
        const QString stored = QString("SELECT %1 FROM %2 ORDER BY %3").arg(r.textColumn, r.table, r.codeColumn);
        {
            auto w = r.open(p);
            auto *box = w->findChild<QWidget *>(r.box);
            // In browse the query page and the grid lead to the second row.
            QTest::mouseClick(tabsOf(w.get()), Qt::LeftButton, {}, tabsOf(w.get())->tabRect(1).center());
            QCOMPARE(w->PageControl1->currentIndex(), 1);
            const QPoint second = gridRow(w.get(), gridRowOfCode(w.get(), r.codeColumn, 2));
            QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, second);
            QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, second);
            QCOMPARE(w->PageControl1->currentIndex(), 0);
            QCOMPARE(textOf(box), QString("SEGUNDO"));
            ASSERT_NO_UNAPPLIED_CHANGES(DM);

            w->btnAlterar->click();
            typeOver(box, "MUDADO");
            QVERIFY(!w->PageControl1->isTabEnabled(1) && !w->DBGrid1->isEnabled() && !w->btnConsultar->isEnabled());
            QVERIFY(!w->DBNavigator1 || !w->DBNavigator1->isEnabled());
            QVERIFY(!w->searchBox || (!w->searchBox->isEnabled() && !w->btnBuscar->isEnabled()));
            for (const auto &[way, act] : waysToLeaveTheRow(w.get(), box)) {
                act();
                QVERIFY2(w->table()->state() == Dataset::State::Edit, qPrintable(way));
                // never the query page; the members' page "Rol" is the same row's
                QVERIFY2(w->PageControl1->currentIndex() != 1, qPrintable(way));
                QVERIFY2(!w->table()->filtered(), qPrintable(way));
                ASSERT_NO_UNAPPLIED_CHANGES(DM);
            }
            QCOMPARE(textOf(box), QString("MUDADO"));
            w->btnCancelar->click();
            QCOMPARE(textOf(box), QString("SEGUNDO"));
            QVERIFY(w->PageControl1->isTabEnabled(1) && w->DBGrid1->isEnabled());
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
            w->btnSair->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
        }
        {
            auto w = r.open(p); // the next save of the same table
            w->btnNovo->click();
            typeOver(w->findChild<QWidget *>(r.box), "TERCEIRO");
            if (r.completeNewRow)
                r.completeNewRow(w.get());
            w->btnSalvar->click();
            ASSERT_NO_UNAPPLIED_CHANGES(DM);
        }
        QCOMPARE(recorder.texts(), QStringList());
        QStringList texts;
        for (const QVariantList &row : p.fx.db.rows(stored))
            texts << row.value(0).toString();
        QCOMPARE(texts, QStringList({"PRIMEIRO", "SEGUNDO", "TERCEIRO"}));
    }

    // While the employee is edited, the positions register opened from it
    // is a window of its own over another table: its rows move freely there,
    // and the employee's row stays as typed.
    void anotherTableMovesFreelyWhileARowIsEdited()
    {
        SignedInProgram p;
        for (int code : {1, 2})
            p.fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (?, ?)", {code, QString("CARGO %1").arg(code)});
        p.fx.db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME, FUNCARGO) VALUES (1, 'ANA', 1)");
        auto employees = p.open<TFFuncionario>();
        employees->btnAlterar->click();
        typeOver(employees->DBEdit2, "ANA PAULA");
        whenModalOpens([](QWidget *modal) {
            auto *positions = qobject_cast<TFCargo *>(modal);
            QVERIFY(positions && positions->DBNavigator1->isEnabled() && positions->PageControl1->isTabEnabled(1));
            QTest::mouseClick(positions->DBNavigator1->button(DBNavigator::Last), Qt::LeftButton);
            QCOMPARE(positions->DBEdit2->text(), QString("CARGO 2"));
            positions->close();
        });
        employees->btnCargo->click();
        QVERIFY(employees->table()->editing());
        QCOMPARE(employees->DBEdit2->text(), QString("ANA PAULA"));
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        employees->btnCancelar->click();
        QCOMPARE(p.fx.db.scalar("SELECT FUNNOME FROM TFUNCIONARIO").toString(), QString("ANA"));
    }
};

QTEST_MAIN(TestRowLockout)
#include "tst_rowlockout.moc"
