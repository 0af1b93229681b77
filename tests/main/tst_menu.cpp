// The main window: today's events panel, the tables it opens, and closing.
#include "ProgramFixture.h"

#include "data/Today.h"
#include "main/UMenu.h"
#include "signin/LauncherRepair.h"
#include "signin/ULogin.h"

#include <QAccessible>
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
        menu = new TFMenu(login.get());
        menu->show();
    }
    void addEvent(int code, const QString &description, const QVariant &day, const QVariant &hour, const QVariant &minutes)
    {
        fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA, EVEHORA, EVEMINUTOS) VALUES (?, ?, ?, ?, ?)",
                   {code, description, day, hour, minutes});
    }
    QStringList lines() const { return menu->txtEventos->toPlainText().split('\n'); }
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

    void showingOpensTheSharedTables()
    {
        MainWindow w;
        w.fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO) VALUES (1, 'PASTOR')");
        w.show();
        for (TableDataset *t : {DM->TBMEMBRO, DM->TBFUNCIONARIO, DM->TBMOVIMENTACOES, DM->TBLIVRO, DM->TBCARGO})
            QVERIFY2(t->active(), qPrintable(t->objectName()));
        QCOMPARE(DM->TBCARGOCARDESCRICAO->asString(), QString("PASTOR"));
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
