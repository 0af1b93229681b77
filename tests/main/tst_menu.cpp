// The main window: today's events panel, the tables it opens, and closing.
#include "ProgramFixture.h"

#include "dataset/DbError.h"
#include "uikit/ErrorGuard.h"
#include "uikit/FormKit.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "main/UMenu.h"
#include "signin/LauncherRepair.h"
#include "signin/ULogin.h"

#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QDate kToday(2026, 12, 7);

struct MainWindow
{
    ProgramFixture fx;
    std::unique_ptr<TFLogin> login{new TFLogin};
    TFMenu *menu = nullptr;

    void show()
    {
        startSession();
        menu = new TFMenu(login.get());
        menu->show();
    }
    void addEvent(int code, const QString &description, const QVariant &day, const QVariant &hour, const QVariant &minutes)
    {
        fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA, EVEHORA, EVEMINUTOS) VALUES (?, ?, ?, ?, ?)",
                   {code, description, day, hour, minutes});
    }
    QStringList lines() const { return menu->txtEventos->toPlainText().split('\n'); }
    void addMember(int code, const QString &name, const QVariant &birth)
    {
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMDATANASC) VALUES (?, ?, ?)", {code, name, birth});
    }
    QString birthdays() const { return menu->txtAniversariantes->toPlainText(); }
};

// The menu item of `action`: the menu (or the bar) that holds it and the
// place it takes there, none while the item is hidden.
std::pair<QWidget *, QRect> menuItemOf(QMenuBar *bar, QAction *action)
{
    if (bar->actions().contains(action))
        return {bar, bar->actionGeometry(action)};
    for (QMenu *menu : bar->findChildren<QMenu *>())
        if (menu->actions().contains(action))
            return {menu, menu->actionGeometry(action)};
    return {};
}

// Clicks the menu item of `action` as a user would, its menu opened first.
void clickMenuItem(QMenuBar *bar, QAction *action)
{
    QWidget *holder = menuItemOf(bar, action).first;
    if (auto *menu = qobject_cast<QMenu *>(holder)) {
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
    }
    const QRect item = menuItemOf(bar, action).second;
    QVERIFY(!item.isEmpty());
    QTest::mouseClick(holder, Qt::LeftButton, {}, item.center());
}

// A window whose building fails after it has put itself in its global reference.
struct FailingWindow : QDialog
{
    explicit FailingWindow(QWidget *owner);
    static inline FailingWindow *global = nullptr;
};
FailingWindow::FailingWindow(QWidget *owner) : QDialog(owner)
{
    global = this;
    throw DbError("A janela não pôde ser aberta.");
}

// Today's date for one test; the suite's date again afterwards.
struct Day
{
    explicit Day(const QDate &day) { Today::setForTests(day); }
    ~Day() { Today::setForTests(kToday); }
};

} // namespace

class TestMenu : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Today::setForTests(kToday);
    }

    void noEventTodayListsTheDateAndAnEmptyLine()
    {
        MainWindow w;
        w.addEvent(1, "ONTEM", kToday.addDays(-1), 10, 0);
        w.show();
        QCOMPARE(w.lines(), (QStringList{"Hoje é 07/12/2026", ""}));
    }

    void eventsOfTodayInTableOrderWithPlainNumbers()
    {
        MainWindow w;
        w.addEvent(7, "CULTO DE ORAÇÃO", kToday, 19, 5);
        w.addEvent(3, "ESCOLA BÍBLICA", kToday, 8, 30);
        w.addEvent(4, "SEM DATA", QVariant(QMetaType::fromType<QDate>()), 9, 0);
        w.addEvent(5, "SEM HORA", kToday, QVariant(QMetaType::fromType<int>()), 0);
        w.addEvent(6, "AMANHÃ", kToday.addDays(1), 9, 0);
        w.show();
        QCOMPARE(w.lines(), (QStringList{"Hoje é 07/12/2026", "", "* CULTO DE ORAÇÃO às 19:5",
                                         "* ESCOLA BÍBLICA às 8:30", "* SEM HORA às :0"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.menu->txtEventos)->text(QAccessible::Name),
                 QString("Eventos Para Hoje:"));
    }

    void listIsRefreshedOnlyByAbrir()
    {
        MainWindow w;
        w.show();
        TableDataset *events = DM->TBEVENTO;
        events->insert();
        DM->TBEVENTOEVECODIGO->setAsInteger(1);
        DM->TBEVENTOEVEDESCRICAO->setAsString("REUNIÃO");
        DM->TBEVENTOEVEDATA->setAsDate(kToday);
        DM->TBEVENTOEVEHORA->setAsInteger(20);
        DM->TBEVENTOEVEMINUTOS->setAsInteger(0);
        events->post();
        QCOMPARE(w.lines().size(), 2);

        w.menu->btnFechar->click();
        QVERIFY(w.menu->Panel2->isHidden() && !w.menu->Panel3->isHidden());
        w.menu->btnAbrir->click();
        QVERIFY(!w.menu->Panel2->isHidden() && w.menu->Panel3->isHidden());
        QCOMPARE(w.lines().last(), QString("* REUNIÃO às 20:0"));
    }

    // Members born on this day and month, by name, whatever search is left
    // on the members table; 29 February on 28 February of a common year.
    void birthdaysOfToday_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("listed");
        QTest::newRow("none") << QDate(2011, 3, 2) << "";
        QTest::newRow("one") << QDate(2011, 12, 31) << "* ÚLTIMO DO ANO (41 anos)";
        QTest::newRow("first of january") << QDate(2012, 1, 1) << "* PRIMEIRO DO ANO (1 ano)";
        QTest::newRow("several, by name, 29 february in a common year")
            << QDate(2011, 2, 28) << "* ANA (31 anos)\n* BISSEXTO (31 anos)\n* ZECA (0 anos)";
        QTest::newRow("28 february of a leap year") << QDate(2012, 2, 28) << "* ANA (32 anos)\n* ZECA (1 ano)";
        QTest::newRow("29 february of a leap year") << QDate(2012, 2, 29) << "* BISSEXTO (32 anos)";
        QTest::newRow("1 march is not 29 february") << QDate(2011, 3, 1) << "";
    }

    void birthdaysOfToday()
    {
        QFETCH(QDate, today);
        QFETCH(QString, listed);
        const Day day(today);
        MainWindow w;
        w.addMember(1, "ZECA", QDate(2011, 2, 28));
        w.addMember(2, "BISSEXTO", QDate(1980, 2, 29));
        w.addMember(3, "ANA", QDate(1980, 2, 28));
        w.addMember(4, "ÚLTIMO DO ANO", QDate(1970, 12, 31));
        w.addMember(5, "PRIMEIRO DO ANO", QDate(2011, 1, 1));
        w.addMember(6, "SEM DATA", QVariant(QMetaType::fromType<QDate>()));
        w.addMember(7, "NASCE NO ANO QUE VEM", today.addYears(1));
        w.fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA) VALUES (1, 'CULTO', ?)", {today});
        w.show();
        QCOMPARE(w.birthdays(), listed);
        QCOMPARE(w.lines().size(), 3); // the events panel as it always was
        QCOMPARE(QAccessible::queryAccessibleInterface(w.menu->txtAniversariantes)->text(QAccessible::Name),
                 QString("Aniversariantes de Hoje:"));
    }

    void birthdaysFollowFecharAndAbrir()
    {
        const Day day(QDate(2011, 5, 31));
        MainWindow w;
        w.addMember(1, "ANA SILVA", QDate(1990, 5, 31));
        w.addMember(2, "BRUNO", QDate(1991, 5, 31));
        w.show();
        DM->TBMEMBRO->open(); // as the members register does
        DM->TBMEMBRO->setFilter("(UPPER(MEMNOME) LIKE UPPER('%SILVA%'))");
        DM->TBMEMBRO->setFiltered(true);
        DM->TBMEMBRO->insert();
        DM->TBMEMBROMEMCODIGO->setAsInteger(3);
        DM->TBMEMBROMEMNOME->setAsString("CARLA");
        DM->TBMEMBROMEMDATANASC->setAsDate(QDate(2000, 5, 31));
        DM->TBMEMBRO->post();
        QCOMPARE(w.birthdays(), QString("* ANA SILVA (21 anos)\n* BRUNO (20 anos)"));

        w.menu->btnFechar->click();
        QVERIFY(!w.menu->txtAniversariantes->isVisible() && !w.menu->Label2->isVisible());
        w.menu->btnAbrir->click();
        QVERIFY(w.menu->txtAniversariantes->isVisible() && w.menu->Label2->isVisible());
        QCOMPARE(w.birthdays(), QString("* ANA SILVA (21 anos)\n* BRUNO (20 anos)\n* CARLA (11 anos)"));
    }

    // Showing reads only what the window shows; the tables the registers
    // need are read beside it and opened with what was read. A table read
    // again afterwards comes fresh from the database.
    void showingReadsTheSharedTablesAhead()
    {
        MainWindow w;
        w.fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (1, 'PASTOR')");
        w.show();
        for (TableDataset *t : {DM->TBMEMBRO, DM->TBFUNCIONARIO, DM->TBMOVIMENTACOES, DM->TBLIVRO, DM->TBCARGO}) {
            QVERIFY2(!t->active(), qPrintable(t->objectName()));
            t->open();
        }
        QCOMPARE(walk(*DM->TBCARGO, "CARDESCRICAO"), QStringList{"PASTOR"});
        w.fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (2, 'ZELADOR')");
        DM->TBCARGO->close();
        DM->TBCARGO->open();
        QCOMPARE(walk(*DM->TBCARGO, "CARDESCRICAO"), (QStringList{"PASTOR", "ZELADOR"}));
    }

    void closingRepairsTheLauncherAndEndsTheProgram()
    {
        MainWindow w;
        w.fx.writeFile(LauncherRepair::kBatchFile, "PAUSE");
        w.fx.writeFile(LauncherRepair::kServerMarker, "leia-me");
        w.show();
        QSignalSpy closed(w.menu, &TFMenu::closed);
        w.menu->SpeedButton4->click();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(w.fx.readFile(LauncherRepair::kBatchFile), QByteArray("START c:\\Kelmara\\Kelmara.exe\r\n"));
    }

    // Every command is one action: its menu item and its toolbar button
    // trigger it and open the same window, and hiding or disabling the
    // action hides or disables both.
    void everyCommandIsOneAction()
    {
        MainWindow w;
        w.show();
        Messages::Recorder recorder;
        QVERIFY(!w.menu->commands().isEmpty());
        for (const MenuCommand &command : w.menu->commands()) {
            QAction *action = command.action;
            const QString name = action->objectName();
            QVERIFY2(!menuItemOf(w.menu->menuBar(), action).second.isEmpty(), qPrintable(name));
            QSignalSpy triggered(action, &QAction::triggered);
            QSignalSpy closed(w.menu, &TFMenu::closed);
            QStringList opened;
            QList<std::function<void()>> ways{[&] { clickMenuItem(w.menu->menuBar(), action); }};
            if (command.button)
                ways << [&] { QTest::mouseClick(command.button, Qt::LeftButton); };
            for (const auto &way : ways) {
                if (!command.window.isEmpty())
                    whenModalOpens([&](QWidget *modal) {
                        opened << modal->objectName();
                        modal->close();
                    });
                way();
                w.menu->show(); // back after Sair
            }
            QVERIFY2(triggered.count() == ways.size(), qPrintable(name));
            if (command.window.isEmpty())
                QVERIFY2(closed.count() == ways.size(), qPrintable(name));
            else
                QVERIFY2(opened == QStringList(ways.size(), command.window), qPrintable(opened.join(',')));

            action->setVisible(false);
            QVERIFY2(menuItemOf(w.menu->menuBar(), action).second.isEmpty(), qPrintable(name));
            QVERIFY2(!command.button || command.button->isHidden(), qPrintable(name));
            action->setVisible(true);
            action->setEnabled(false);
            QVERIFY2(!command.button || (command.button->isVisible() && !command.button->isEnabled()), qPrintable(name));
            action->setEnabled(true);
        }
        QVERIFY(recorder.shown.isEmpty());
    }

    // A window that cannot be built shows why and leaves no reference to
    // what is left of it behind.
    void aWindowThatFailsToBuildLeavesNoReference()
    {
        Messages::Recorder recorder;
        QWidget owner;
        QVERIFY(!runGuarded([&] { FormKit::openModal(FailingWindow::global, &owner); }));
        QCOMPARE(FailingWindow::global, nullptr);
        QCOMPARE(recorder.texts(), QStringList{"A janela não pôde ser aberta."});
        QVERIFY(owner.findChildren<QDialog *>().isEmpty());
    }

    void toolbarCaptionsAndHints()
    {
        MainWindow w;
        w.show();
        QCOMPARE(w.menu->SpeedButton1->text(), QString("Cadastro de Membros"));
        QCOMPARE(w.menu->btnLivro->toolTip().left(40), QString("Consulta na forma de relatório do Livro "));
        QCOMPARE(w.menu->SpeedButton4->toolTip(), QString("Sair"));
        QStringList bar;
        for (QAction *a : w.menu->menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"Cadastros", "Movimentações", "Configurações", "Sair"}));
        QCOMPARE(w.menu->Caixa1->actions().size(), 5); // three items and two separators
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
