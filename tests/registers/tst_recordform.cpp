// The register pattern, through the positions and parameters windows and a
// register with the shortcut menu, driven as a user would.
#include "Invariants.h"
#include "RegisterFixture.h"

#include "uikit/Messages.h"
#include "controls/DataControl.h"
#include "controls/DBEdit.h"
#include "controls/DBGrid.h"
#include "controls/DBMemo.h"
#include "main/UMenu.h"
#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "main/UParamentros.h"
#include "registers/UCargo.h"
#include "registers/UCategoria.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"
#include "signin/ULogin.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

// The program signed in, with the main window as the owner of the registers.
struct Program : SignedInProgram
{
    void positions(const QList<int> &codes)
    {
        for (int code : codes)
            fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO, CARSALARIO) VALUES (?, ?, ?)",
                       {code, QString("CARGO %1").arg(code), 1000.0 * code});
    }
};

// A register with the shortcut menu and a field-key box, over the positions.
class ShortcutRegister : public RecordForm
{
public:
    explicit ShortcutRegister(QWidget *owner) : RecordForm(owner, setup())
    {
        box = new DBEdit(DM->DSCARGO, "CARDESCRICAO", TabSheet1);
        auto *code = new DBEdit(DM->DSCARGO, "CARCODIGO", TabSheet1);
        salary = fieldBox("DBEdit3", "CARSALARIO", 160);
        memo = new DBMemo(DM->DSCARGO, "CARDESCRICAO", TabSheet1);
        addLabeled("Label1", "CÓDIGO", code);
        addLabeled("Label2", "DESCRIÇÃO", box);
        addLabeled("Label3", "SALÁRIO", salary);
        addLabeled("Label4", "DESCRIÇÃO LONGA", memo);
        setCodeBox(code);
        addEditable({box, salary, memo});
        setFirstField(box);
        addFieldKeys(box);
        setTabChain({code, salary, box}); // against the page's order
        finishLayout();
    }
    static RecordFormSetup setup()
    {
        RecordFormSetup s;
        s.objectName = "FTeste";
        s.caption = "Teste";
        s.source = DM->DSCARGO;
        s.codeColumn = "CARCODIGO";
        s.openOnShow = {DM->TBCARGO};
        s.shortcuts = RecordFormSetup::Shortcuts::Register;
        s.reportCaption = "Gerar Relatório";
        return s;
    }
    void btnRelatorioClick() override { ++reports; }
    DBEdit *box;
    DBEdit *salary;
    DBMemo *memo;
    int reports = 0;
};

// A register that forgets to declare its code box.
class RegisterWithoutCodeBox : public RecordForm
{
public:
    explicit RegisterWithoutCodeBox(QWidget *owner) : RecordForm(owner, ShortcutRegister::setup())
    {
        addLabeled("Label2", "DESCRIÇÃO", fieldBox("DBEdit2", "CARDESCRICAO", 300));
        finishLayout();
    }
};

bool inEditState(RecordForm *w)
{
    return w->btnSalvar->isEnabled() && w->btnCancelar->isEnabled() && !w->btnNovo->isEnabled()
        && !w->btnAlterar->isEnabled() && !w->btnExcluir->isEnabled() && !w->btnConsultar->isEnabled()
        && !w->btnSair->isEnabled();
}

bool inBrowseState(RecordForm *w)
{
    return !w->btnSalvar->isEnabled() && !w->btnCancelar->isEnabled() && w->btnNovo->isEnabled()
        && w->btnAlterar->isEnabled() && w->btnExcluir->isEnabled() && w->btnConsultar->isEnabled()
        && w->btnSair->isEnabled();
}

using Creator = std::function<std::unique_ptr<RecordForm>(QWidget *owner)>;
template <typename Window> Creator creator()
{
    return [](QWidget *owner) { return std::unique_ptr<RecordForm>(new Window(owner)); };
}

// The keys of the shortcut menu and the buttons whose commands they run.
struct WindowKey
{
    QKeyCombination key;
    QToolButton *RecordForm::*button;
};
const QList<WindowKey> kWindowKeys{{Qt::Key_F1, &RecordForm::btnNovo},
                                   {Qt::Key_F2, &RecordForm::btnAlterar},
                                   {Qt::Key_F5, &RecordForm::btnSalvar},
                                   {Qt::Key_F6, &RecordForm::btnSalvarNovo},
                                   {Qt::Key_Escape, &RecordForm::btnCancelar},
                                   {Qt::SHIFT | Qt::Key_Delete, &RecordForm::btnExcluir},
                                   {Qt::CTRL | Qt::Key_P, &RecordForm::btnRelatorio},
                                   {Qt::Key_F8, &RecordForm::btnConsultar},
                                   {Qt::Key_F4, &RecordForm::btnSair}};

// Every control the focus can reach in the window as it is now.
QList<QWidget *> focusableControls(QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window) && !w->focusProxy())
            controls << w;
    return controls;
}

// The data-bound controls shown on the entry page, by object name.
QMap<QString, QWidget *> dataControls(RecordForm *w)
{
    QMap<QString, QWidget *> controls;
    for (QWidget *c : w->TabSheet1->findChildren<QWidget *>())
        if (c->isVisibleTo(w) && c->findChild<FieldLink *>(QString(), Qt::FindDirectChildrenOnly))
            controls.insert(c->objectName(), c);
    return controls;
}

// Counts the presses of one key that reach the controls it watches.
struct KeysReaching : QObject
{
    QKeyCombination key;
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->keyCombination() == key)
            ++count;
        return false;
    }
};

} // namespace

class TestRecordForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void newCodesAreTheLargestPlusOne()
    {
        Program p;
        Messages::Recorder recorder;
        recorder.defaultAnswer = true;
        auto w = p.open<TFCargo>();
        QVERIFY(inBrowseState(w.get()));
        QVERIFY(w->DBEdit2->isReadOnly() && w->DBEdit1->isReadOnly());
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("1")); // the first position ever
        QVERIFY(inEditState(w.get()));
        QVERIFY(!w->DBEdit2->isReadOnly() && w->DBEdit2->hasFocus() && w->DBEdit1->isReadOnly());
        w->btnCancelar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);

        p.positions({2, 5}); // Novo reads the table anew
        p.fx.db.exec("INSERT INTO TCARGO (CARCODIGO) VALUES (1)");
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("6"));
        QTest::keyClicks(w->DBEdit2, "tesoureira");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit2->text(), QString("TESOUREIRA")); // capitals as typed
        QTest::keyClick(w->DBEdit2, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.fx.db.scalar("SELECT CARDESCRICAO FROM TCARGO WHERE CARCODIGO = 6").toString(), QString("TESOUREIRA"));

        w->btnExcluir->click(); // answered Yes
        QCOMPARE(recorder.shown.last().caption, QString("Atenção"));
        QCOMPARE(recorder.shown.last().text, QString("Você realmente deseja excluir este registro ?"));
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TCARGO").toInt(), 3);
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("6")); // handed out again
    }

    void aSearchFilterDoesNotNarrowNewCodes()
    {
        Program p;
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (1, 'IGREJA BOAS NOVAS', 'Nome da IGREJA')");
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (2, 'X', 'outro')");
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (5, 'Y', NULL)");
        auto w = p.open<TFParamentros>();
        w->btnConsultar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->searchBox, "igreja");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(DM->TBPARAMENTROS->recordCount(), 1);
        QCOMPARE(DM->TBPARAMENTROS->filter(), QString("(UPPER(PAROBSERVACOES) LIKE UPPER('%igreja%'))"));
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->DBEdit1->text(), QString("6"));
        QVERIFY(!w->DBEdit1->isReadOnly()); // the code is the user's to choose here
        w->btnCancelar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit1->isReadOnly());
    }

    void searchTakesQuotesPercentAndEmptyText()
    {
        Program p;
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (1, 'A', 'D''ÁVILA')");
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (2, 'B', '50% DAS OFERTAS')");
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (3, 'C', NULL)");
        auto w = p.open<TFParamentros>();
        const auto found = [&](const QString &text) {
            w->searchBox->setText(text);
            return DM->TBPARAMENTROS->recordCount();
        };
        QCOMPARE(found("d'á"), 1);
        QCOMPARE(found("50%"), 1);
        QCOMPARE(found("%"), 3); // the two and the program's level row
        QCOMPARE(found("xyz"), 0);
        QCOMPARE(found(""), 3); // every row with a description
        w->searchBox->setText("ofertas");
        w->btnBuscar->click(); // the same search
        QCOMPARE(DM->TBPARAMENTROS->recordCount(), 1);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);
    }

    void alterarOnAnEmptyTableThenSalvarNeedsACode()
    {
        Program p;
        Messages::Recorder recorder;
        auto w = p.open<TFCargo>();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inEditState(w.get()));
        QVERIFY(w->DBEdit1->text().isEmpty());
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.texts(), QStringList{"Preencha o campo CÓDIGO."});
        QVERIFY(inEditState(w.get()));
    }

    void excluirOnAnEmptyTableAndNoAnswer()
    {
        Program p;
        Messages::Recorder recorder;
        recorder.answers = {false, true};
        auto w = p.open<TFCargo>();
        w->btnExcluir->click(); // No: nothing
        QCOMPARE(recorder.shown.size(), 1);
        w->btnExcluir->click(); // Yes: the empty table refuses
        QCOMPARE(recorder.shown.size(), 3);
        QCOMPARE(recorder.shown[2].kind, Messages::Shown::Error);
        QVERIFY(inBrowseState(w.get()));

        p.positions({1});
        w->btnNovo->click(); // reads the new row
        w->btnCancelar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        recorder.answers = {false};
        w->btnExcluir->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TCARGO").toInt(), 1);
    }

    // Browsing, every box, list, radio group, memo and picture box shows the
    // row enabled (full contrast) but read-only, and is announced so; while
    // a row is inserted each is editable, but for those never typed into,
    // and Tab passes over the boxes that were never to be typed into (the
    // code) as it passed over them when they were disabled.
    void dataControlsAreReadOnlyWhileBrowsing_data()
    {
        QTest::addColumn<Creator>("create");
        QTest::addColumn<QStringList>("neverEditable");
        QTest::addColumn<QStringList>("passedOver");
        const QStringList code{"DBEdit1"};
        QTest::newRow("cargos") << creator<TFCargo>() << code << code;
        QTest::newRow("membros") << creator<TFMembro>() << code << code;
        QTest::newRow("funcionários") << creator<TFFuncionario>() << QStringList{"DBEdit1", "DBEdit3"} << code;
        QTest::newRow("eventos") << creator<TFEvento>() << code << code;
        QTest::newRow("livros") << creator<TFLivroCaixa>() << QStringList{"DBEdit1", "DBEdit3"}
                                << QStringList{"DBEdit1", "DBEdit3"};
        QTest::newRow("movimentações") << creator<TFMovimentacoes>() << code << code;
        QTest::newRow("parâmetros") << creator<TFParamentros>() << QStringList() << QStringList();
        QTest::newRow("categorias") << creator<TFCategoria>() << code << code;
    }

    void dataControlsAreReadOnlyWhileBrowsing()
    {
        QFETCH(Creator, create);
        QFETCH(QStringList, neverEditable);
        QFETCH(QStringList, passedOver);
        Program p;
        const std::unique_ptr<RecordForm> w = create(p.menu);
        w->show();
        const QMap<QString, QWidget *> controls = dataControls(w.get());
        QVERIFY(controls.size() >= 3);
        const auto takesTab = [&controls](const QString &name) {
            return bool(controls.value(name)->focusPolicy() & Qt::TabFocus);
        };
        for (QWidget *c : controls) {
            QVERIFY2(c->isEnabled() && DataControl::isReadOnly(c), qPrintable(c->objectName()));
            if (!qobject_cast<QLabel *>(c) && !qobject_cast<QGroupBox *>(c)) // a picture; a group: its buttons
                QVERIFY2(QAccessible::queryAccessibleInterface(c)->state().readOnly, qPrintable(c->objectName()));
        }
        for (const QString &name : passedOver)
            QVERIFY2(takesTab(name), qPrintable(name));
        w->btnNovo->click();
        for (QWidget *c : controls)
            QVERIFY2(DataControl::isReadOnly(c) == neverEditable.contains(c->objectName()), qPrintable(c->objectName()));
        for (const QString &name : neverEditable)
            QVERIFY2(takesTab(name) != passedOver.contains(name), qPrintable(name));
        w->btnCancelar->click();
        for (QWidget *c : controls)
            QVERIFY2(DataControl::isReadOnly(c), qPrintable(c->objectName()));
    }

    void refusedSaveStaysInEditWithWhatWasTyped()
    {
        Program p;
        Messages::Recorder recorder;
        p.fx.db.exec("INSERT INTO TPARAMETROS VALUES (1, 'IGREJA', 'Nome da igreja')");
        auto w = p.open<TFParamentros>();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit1->selectAll();
        QTest::keyClicks(w->DBEdit1, "1"); // a code another row has
        QTest::keyClicks(w->DBEdit2, "Segunda igreja");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.shown.size(), 1);
        // The user typed the code: the message says it is in use, not that another workstation took it.
        const QString refusal = recorder.texts().first();
        QVERIFY2(refusal.startsWith("O código 1 já está em uso em outro registro. Nada foi gravado: "
                                    "digite outro código e salve de novo, ou cancele."),
                 qPrintable(refusal));
        QVERIFY(refusal.contains("PRIMARY", Qt::CaseInsensitive)); // the engine's text after it
        QVERIFY(inEditState(w.get()));
        QVERIFY(w->DBEdit2->hasFocus()); // the box the user typed in, as before Salvar
        QCOMPARE(w->DBEdit2->text(), QString("Segunda igreja")); // no capitals here
        QCOMPARE(p.fx.db.scalar("SELECT COUNT(*) FROM TPARAMETROS WHERE PARCODIGO < 100").toInt(), 1);

        w->DBEdit1->selectAll();
        QTest::keyClicks(w->DBEdit1, "7");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inBrowseState(w.get()));
        QCOMPARE(p.fx.db.scalar("SELECT PARVALOR FROM TPARAMETROS WHERE PARCODIGO = 7").toString(), QString("Segunda igreja"));
        QCOMPARE(p.fx.db.scalar("SELECT PARVALOR FROM TPARAMETROS WHERE PARCODIGO = 1").toString(), QString("IGREJA"));
        QVERIFY(!DM->TBPARAMENTROS->hasPendingChanges());
    }

    // A speech-input tool sets the box's text through the accessibility
    // interface: Salvar stores it as if it had been typed.
    void textSetByAnAssistiveToolIsSaved()
    {
        Program p;
        p.positions({1});
        auto w = p.open<TFCargo>();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QAccessibleEditableTextInterface *box = QAccessible::queryAccessibleInterface(w->DBEdit2)->editableTextInterface();
        box->replaceText(0, w->DBEdit2->text().size(), "tesoureiro");
        QCOMPARE(w->DBEdit2->text(), QString("TESOUREIRO"));
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.fx.db.scalar("SELECT CARDESCRICAO FROM TCARGO").toString(), QString("TESOUREIRO"));
    }

    void refusedChangeByAnotherWorkstationCanBeCancelled()
    {
        Program p;
        Messages::Recorder recorder;
        p.positions({1});
        auto w = p.open<TFCargo>();
        w->btnAlterar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->DBEdit2->selectAll();
        QTest::keyClicks(w->DBEdit2, "PASTOR");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        p.fx.db.exec("UPDATE TCARGO SET CARDESCRICAO = 'DIÁCONO' WHERE CARCODIGO = 1"); // meanwhile
        w->btnSalvar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(recorder.texts(), QStringList{"Registro não encontrado ou alterado por outro usuário."});
        QVERIFY(inEditState(w.get()));
        QCOMPARE(w->DBEdit2->text(), QString("PASTOR"));
        w->btnCancelar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.fx.db.scalar("SELECT CARDESCRICAO FROM TCARGO").toString(), QString("DIÁCONO"));
        QVERIFY(!DM->TBCARGO->hasPendingChanges());
    }

    void escInAFieldClosesAndClosingCancelsTheRow()
    {
        Program p;
        auto w = p.open<TFCargo>();
        w->btnNovo->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClicks(w->DBEdit2, "ZELADOR");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->DBEdit2, Qt::Key_Return); // Enter moves on
        QVERIFY(w->DBEdit3->hasFocus());
        QTest::keyClick(w->DBEdit3, Qt::Key_Up);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->DBEdit2->hasFocus());
        QTest::keyClick(w->DBEdit2, Qt::Key_Escape);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->isVisible());
        QCOMPARE(DM->TBCARGO->state(), Dataset::State::Browse);
        QCOMPARE(DM->TBCARGO->recordCount(), 0);
    }

    void shortcutMenuActsOnEnabledButtonsOnly()
    {
        Program p;
        p.positions({1});
        auto w = p.open<ShortcutRegister>();
        QTest::keyClick(w.get(), Qt::Key_F5); // Salvar disabled in browse
        QTest::keyClick(w.get(), Qt::Key_Escape); // Cancelar disabled: not Sair either
        QVERIFY(w->isVisible());
        QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->reports, 1);
        QTest::keyClick(w.get(), Qt::Key_F1);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(inEditState(w.get()));
        QTest::keyClicks(w->box, "diacono");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->box, Qt::Key_P, Qt::ControlModifier); // report disabled while editing
        QCOMPARE(w->reports, 1);
        QTest::keyClick(w->box, Qt::Key_F4); // Sair disabled while editing
        QVERIFY(w->isVisible());
        QTest::keyClick(w->box, Qt::Key_Escape); // Cancelar, not Sair
        QVERIFY(w->isVisible() && inBrowseState(w.get()));
        QCOMPARE(DM->TBCARGO->recordCount(), 1);
        QTest::keyClick(w.get(), Qt::Key_F2);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        w->box->selectAll();
        QTest::keyClicks(w->box, "PASTOR");
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QTest::keyClick(w->box, Qt::Key_F5);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(p.fx.db.scalar("SELECT CARDESCRICAO FROM TCARGO").toString(), QString("PASTOR"));
        QTest::keyClick(w.get(), Qt::Key_F4);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(!w->isVisible());
    }

    void tabFollowsTheDeclaredChain()
    {
        Program p;
        auto w = p.open<ShortcutRegister>();
        QTest::keyClick(w.get(), Qt::Key_F1);
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QVERIFY(w->box->hasFocus());
        w->salary->setFocus();
        QTest::keyClick(w->salary, Qt::Key_Tab);
        QVERIFY(w->box->hasFocus());
        QTest::keyClick(w->salary, Qt::Key_Return); // the field keys follow the same chain
        QVERIFY(w->box->hasFocus());
        QTest::keyClick(w.get(), Qt::Key_Escape);
    }

    // Each key of the shortcut menu is the shortcut of its button's command:
    // from every kind of control, in both states, it triggers that action
    // exactly when the button is enabled (cash movements: F1 and Shift+Del
    // always), and the control never sees the key, so Shift+Del cuts no text
    // and Esc and F5 are no field keys. A key the window lacks acts on nothing.
    void windowKeysAreTheButtonsCommands_data()
    {
        QTest::addColumn<Creator>("create");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QStringList>("always");
        QTest::newRow("membros") << creator<TFMembro>() << QStringList{"F8"} << QStringList();
        QTest::newRow("funcionários") << creator<TFFuncionario>() << QStringList{"F6"} << QStringList();
        QTest::newRow("movimentações") << creator<TFMovimentacoes>() << QStringList{"Ctrl+P"}
                                       << QStringList{"F1", "Shift+Del"};
        QTest::newRow("memorando") << creator<ShortcutRegister>() << QStringList{"F6", "F8"} << QStringList();
    }

    void windowKeysAreTheButtonsCommands()
    {
        QFETCH(Creator, create);
        QFETCH(QStringList, absent);
        QFETCH(QStringList, always);
        Program p;
        p.positions({1});
        Messages::Recorder recorder;
        const std::unique_ptr<RecordForm> w = create(p.menu);
        KeysReaching reaching; // installed before the window's own filter: sees what that lets through
        for (QWidget *control : w->findChildren<QWidget *>())
            control->installEventFilter(&reaching);
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QStringList triggered;
        for (QAction *action : w->actions()) {
            disconnect(action, &QAction::triggered, nullptr, nullptr); // what the command does is not asked here
            connect(action, &QAction::triggered, this, [&triggered, action] { triggered << action->objectName(); });
        }
        for (const bool editing : {false, true}) {
            if (editing)
                w->table()->insert();
            w->PageControl1->setCurrentIndex(editing ? 0 : 1);
            for (const WindowKey &k : kWindowKeys) {
                const QString key = QKeySequence(k.key).toString();
                QToolButton *button = w.get()->*k.button;
                QAction *command = button ? w->command(button) : nullptr;
                QVERIFY2(!command || command->isEnabled() == button->isEnabled(), qPrintable(key));
                QStringList expected;
                if (always.contains(key))
                    expected << (key == "F1" ? "Novo1" : "Deletar1");
                else if (!absent.contains(key) && button && button->isEnabled())
                    expected << command->objectName();
                for (QWidget *control : focusableControls(w.get())) {
                    const QString where =
                        QString("%1 em %2, %3").arg(key, control->objectName(), editing ? "editando" : "navegando");
                    reaching.key = k.key;
                    reaching.count = 0;
                    triggered.clear();
                    control->setFocus();
                    QTest::keyClick(control, k.key.key(), k.key.keyboardModifiers());
                    QVERIFY2(triggered == expected, qPrintable(where + ": " + triggered.join(',')));
                    QVERIFY2((reaching.count > 0) == absent.contains(key), qPrintable(where));
                }
            }
        }
        QVERIFY(recorder.shown.isEmpty());
        w->table()->cancel();
    }

    // The legend lists the shortcuts a window has, Ctrl+P by its report's name.
    void legendFollowsTheShortcutsAndTheReport()
    {
        Program p;
        const auto legend = [](RecordForm *w) {
            QStringList lines;
            if (w->GroupBox1)
                for (QLabel *label : w->GroupBox1->findChildren<QLabel *>())
                    lines << label->text();
            return lines;
        };
        const QStringList saving{"F1 para Novo", "F2 para Alterar", "F5 para Salvar", "F6 para Salvar e Novo"};
        const QStringList keys{"ESC para Cancelar", "Shif+Del para Excluir", "F8 para Consultar"};
        QCOMPARE(legend(p.open<TFMembro>().get()),
                 saving + keys + QStringList({"Ctrl+P para Relatório", "F4 para Sair"}));
        QCOMPARE(legend(p.open<ShortcutRegister>().get()),
                 saving.mid(0, 3) + keys + QStringList({"Ctrl+P para Gerar Relatório", "F4 para Sair"}));
        QCOMPARE(legend(p.open<TFMovimentacoes>().get()), saving + keys + QStringList({"F4 para Sair"}));
        QCOMPARE(legend(p.open<TFCargo>().get()), QStringList());
        QCOMPARE(p.open<TFCargo>()->findChild<QGroupBox *>("GroupBox1"), nullptr);
    }

    // The build stops at once, naming the window, instead of leaving a
    // register whose new codes and search have no box. Runs in a child
    // process, because the stop ends the program.
    void aRegisterWithoutCodeBoxStopsWhenBuilt()
    {
        const char *childRun = "KELMARA_TESTE_SEM_CAIXA_DE_CODIGO";
        if (qEnvironmentVariableIsSet(childRun)) {
            Program p;
            p.open<RegisterWithoutCodeBox>();
            return;
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(childRun, "1");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"-nocrashhandler", "aRegisterWithoutCodeBoxStopsWhenBuilt"});
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY2(output.contains("FTeste: the register declares no code box"), output.constData());
    }

    void moneyIsShownAsCurrencyAndGridFollowsTheRow()
    {
        Program p;
        p.positions({1, 2});
        auto w = p.open<TFCargo>();
        QCOMPARE(w->DBEdit3->text(), QLocale().toCurrencyString(1000.0));
        w->btnConsultar->click();
        ASSERT_NO_UNAPPLIED_CHANGES(DM);
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
        QCOMPARE(w->DBGrid1->model()->headerData(2, Qt::Horizontal).toString(), QString("SALÁRIO"));
        DM->TBCARGO->last();
        QCOMPARE(w->DBGrid1->currentIndex().row(), 1);
        w->DBGrid1DblClick();
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        QCOMPARE(w->DBEdit2->text(), QString("CARGO 2"));
    }

    void theMainMenuOpensTheRegisters()
    {
        Program p;
        QCOMPARE(Program::captionsOpenedBy({[&] { p.menu->Cargos1->trigger(); }, [&] { p.menu->Parametros->trigger(); }}),
                 QStringList({"Cadastro de Cargos", "Parâmetros do Sistema"}));
        QVERIFY(!FCargo && !FParamentros);
    }
};

QTEST_MAIN(TestRecordForm)
#include "tst_recordform.moc"
