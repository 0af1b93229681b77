// The treasurer's year: the year's summary with its chart and the yearly
// cash book with its termos, made from their filter windows on a real
// database and checked on their display lists.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "uikit/Messages.h"
#include "datamodule/ParameterCodes.h"
#include "uikit/Today.h"
#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"
#include "reports/caixa/UFLivroAnual.h"
#include "reports/caixa/UFResumoAnual.h"
#include "reports/caixa/URLivroAnual.h"
#include "reports/caixa/URLivroCaixa.h"
#include "reports/caixa/URResumoAnual.h"
#include "reports/caixa/CashYear.h"
#include "reports/engine/Report.h"
#include "reports/caixa/YearChart.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QStringList kMonths = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                             "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};

// What the test expects of one month, summed here from the rows it inserts.
struct Expected
{
    double entries = 0;
    double exits = 0;
};

struct CashYearProgram : SignedInProgram
{
    void book(int code, int month, int year, const QString &description, const QVariant &current = {},
              const QVariant &previous = {})
    {
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO, LIVSALDOATUAL, "
                   "LIVSALDOANTERIOR) VALUES (?, ?, 'Mes', ?, ?, ?, ?)",
                   {code, month, year, description, current, previous});
    }
    int movement(int book, const QDate &day, double amount, const QString &kind)
    {
        fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA) "
                   "VALUES (?, 'OFERTA', ?, ?, ?, ?)",
                   {++m_movements, book, amount, kind, day});
        return m_movements;
    }
    void parameter(int code, const QString &value)
    {
        fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (?, ?)", {code, value});
    }
    QList<QVariantList> storedBalances()
    {
        return fx.db.rows("SELECT LIVMES, LIVSALDOANTERIOR, LIVSALDOATUAL FROM TLIVRO WHERE LIVANO = 2011 ORDER BY LIVMES");
    }

    // Books of the twelve months of 2011, added in a shuffled order, with
    // movements of cents, of both kinds and of an unknown kind; codes are
    // 101 + month. Returns what the months must add up to.
    std::array<Expected, 12> twelveMonths(int movementsPerMonth = 6)
    {
        std::array<Expected, 12> expected;
        QRandomGenerator rng(2011);
        for (int month : {7, 3, 12, 1, 5, 9, 2, 11, 4, 6, 10, 8})
            book(100 + month, month, 2011, QString("CAIXA %1/2011").arg(month));
        for (int month = 1; month <= 12; ++month)
            for (int i = 0; i < movementsPerMonth; ++i) {
                const double amount = rng.bounded(1, 500000) / 100.0;
                const bool entry = rng.bounded(3) != 0;
                movement(100 + month, QDate(2011, month, 1 + i % 28), amount, entry ? "ENTRADA" : "SAIDA");
                (entry ? expected[month - 1].entries : expected[month - 1].exits) += amount;
            }
        movement(105, QDate(2011, 5, 20), 999, "DOACAO"); // of no known kind: counted nowhere
        book(300, 1, 2012, "CAIXA 1/2012");
        movement(300, QDate(2012, 1, 3), 77, "ENTRADA"); // another year
        return expected;
    }

    // Types the year into a new filter window and returns the previewed pages.
    template <typename Filter> ReportRun report(const QString &year)
    {
        auto filter = std::make_unique<Filter>(menu);
        filter->show();
        filter->txtAno->setText(year);
        const ReportRun run = previewOpenedBy(filter->btnGerar);
        filters.push_back(std::move(filter));
        return run;
    }

    std::vector<std::unique_ptr<QWidget>> filters;

private:
    int m_movements = 0;
};

QString amount(double value)
{
    return TFRLivroCaixa::formatAmount(value);
}

QString only(const ReportRun &run, int page, const char *element)
{
    const QStringList texts = run.texts(page, element);
    return texts.size() == 1 ? texts.first() : QString("<%1 texts>").arg(texts.size());
}

QList<const PageItem *> items(const ReportRun &run, int page, const QString &element)
{
    QList<const PageItem *> found;
    for (const PageItem &item : run.pages().at(page).items)
        if (item.elementName == element)
            found << &item;
    return found;
}

// Every item of a page but the folha number, as text, for comparing pages.
QStringList describe(const LaidOutPage &page)
{
    QStringList lines;
    for (const PageItem &item : page.items)
        if (item.elementName != "txtFolha")
            lines << QString("%1 %2 %3,%4,%5,%6 %7 %8")
                         .arg(int(item.kind))
                         .arg(item.elementName)
                         .arg(item.rect.x())
                         .arg(item.rect.y())
                         .arg(item.rect.width())
                         .arg(item.rect.height())
                         .arg(item.text, item.colour.name());
    return lines;
}

} // namespace

class TestCashYearReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
        Today::setForTests(QDate(2012, 2, 10));
    }

    void summaryOfTwelveChainedMonthsAgainstAnIndependentSum()
    {
        CashYearProgram p;
        p.parameter(ParameterCode::ChurchName, "IGREJA BATISTA CENTRAL");
        p.parameter(ParameterCode::Cnpj, "11.222.333/0001-81");
        p.book(50, 12, 2010, "DEZEMBRO 2010", 500.25);
        const std::array<Expected, 12> expected = p.twelveMonths();

        const ReportRun run = p.report<TFFResumoAnual>("2011");
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(only(run, 0, "txtNomeDaIgreja"), "IGREJA BATISTA CENTRAL");
        QCOMPARE(only(run, 0, "txtCNPJ"), "CNPJ 11.222.333/0001-81");
        QCOMPARE(only(run, 0, "QRLabel1"), "Resumo Anual do Caixa 2011");
        QCOMPARE(run.texts(0, "txtMes"), kMonths);
        QStringList books, previous, entries, exits, current;
        double balance = 500.25, allEntries = 0, allExits = 0;
        for (int m = 0; m < 12; ++m) {
            books << QString("CAIXA %1/2011").arg(m + 1);
            previous << amount(balance);
            balance += expected[m].entries - expected[m].exits;
            entries << amount(expected[m].entries);
            exits << amount(expected[m].exits);
            current << amount(balance);
            allEntries += expected[m].entries;
            allExits += expected[m].exits;
        }
        QCOMPARE(run.texts(0, "txtLivro"), books);
        QCOMPARE(run.texts(0, "txtSaldoAnterior"), previous);
        QCOMPARE(run.texts(0, "txtEntradas"), entries);
        QCOMPARE(run.texts(0, "txtSaidas"), exits);
        QCOMPARE(run.texts(0, "txtSaldoAtual"), current);
        QCOMPARE(only(run, 0, "txtTotalMes"), "Total do ano");
        QCOMPARE(only(run, 0, "txtTotalSaldoAnterior"), "500,25");
        QCOMPARE(only(run, 0, "txtTotalEntradas"), amount(allEntries));
        QCOMPARE(only(run, 0, "txtTotalSaidas"), amount(allExits));
        QCOMPARE(only(run, 0, "txtTotalSaldoAtual"), amount(balance));
        // Never reported, the books hold no balances: every month is marked.
        QCOMPARE(run.texts(0, "txtMarca"), QStringList(12, "*"));
        QCOMPARE(only(run, 0, "txtNotaDesatualizados"), TFRResumoAnual::kStaleNote);
        QCOMPARE(only(run, 0, "txtData"), "10/02/2012");
        // It writes nothing.
        for (const QVariantList &row : p.storedBalances())
            QVERIFY(row[1].isNull() && row[2].isNull());
        QVERIFY(!DM->TBLIVRO->hasPendingChanges());
    }

    void monthWithoutBookBreaksTheChainAsItsReportDoes()
    {
        CashYearProgram p;
        p.book(1, 1, 2011, "JANEIRO", 150.0, 0.0);
        p.book(3, 3, 2011, "MARÇO");
        p.book(4, 3, 2011, "MARÇO DE NOVO"); // a second book of March: only the first counts
        p.movement(1, QDate(2011, 1, 5), 150, "ENTRADA");
        p.movement(3, QDate(2011, 3, 5), 40, "ENTRADA");
        p.movement(4, QDate(2011, 3, 6), 1000, "ENTRADA");
        const ReportRun run = p.report<TFFResumoAnual>("2011");
        const QStringList books = run.texts(0, "txtLivro");
        QCOMPARE(books.mid(0, 4), (QStringList{"JANEIRO", "sem livro caixa", "MARÇO", "sem livro caixa"}));
        QCOMPARE(run.texts(0, "txtSaldoAtual").mid(0, 4), (QStringList{"150,00", "", "40,00", ""}));
        QCOMPARE(run.texts(0, "txtSaldoAnterior")[2], "0,00"); // no February: March starts from 0
        QCOMPARE(run.texts(0, "txtMarca").mid(0, 3), (QStringList{"", "", "*"}));
        QVERIFY(only(run, 0, "txtNotaLivros").startsWith("Mais de um livro caixa no mesmo mês: Março (2 livros)."));
        QCOMPARE(only(run, 0, "txtTotalSaldoAtual"), "40,00");

        // The monthly report of March agrees: it starts from 0 as well.
        TFRLivroCaixa march(p.menu);
        march.setBook(3, "MARÇO");
        ReportWindow::openWith(march.QLivro, TFRLivroCaixa::kSql, {3});
        QCOMPARE(march.QuickRep1->run().texts(0, "txtTransporte"), QStringList{"0,00"});
    }

    void staleMonthsAreMarkedAfterAnEarlierMovementChanges()
    {
        CashYearProgram p;
        p.twelveMonths(3);
        TFRLivroAnual book(p.menu);
        book.setYear(2011);
        book.QuickRep1->run(); // stores every month
        ReportRun run = p.report<TFFResumoAnual>("2011");
        QCOMPARE(run.texts(0, "txtMarca"), QStringList(12, ""));
        QVERIFY(run.texts(0, "txtNotaDesatualizados").isEmpty());

        const QString marchBefore = run.texts(0, "txtSaldoAtual")[2];
        const int march = p.fx.db.scalar("SELECT MIN(MOVCODIGO) FROM TMOVIMETACOES WHERE MOVLIVRO = 103").toInt();
        p.fx.db.exec("UPDATE TMOVIMETACOES SET MOVVALOR = MOVVALOR + 10.01 WHERE MOVCODIGO = ?", {march});
        run = p.report<TFFResumoAnual>("2011");
        QStringList marks(2, "");
        marks << QStringList(10, "*"); // March and every month after it
        QCOMPARE(run.texts(0, "txtMarca"), marks);
        QCOMPARE(only(run, 0, "txtNotaDesatualizados"), TFRResumoAnual::kStaleNote);
        QVERIFY(run.texts(0, "txtSaldoAtual")[2] != marchBefore);

        // A change within half a cent is no change.
        book.QuickRep1->run();
        p.fx.db.exec("UPDATE TMOVIMETACOES SET MOVVALOR = MOVVALOR + 0.004 WHERE MOVCODIGO = ?", {march});
        QCOMPARE(p.report<TFFResumoAnual>("2011").texts(0, "txtMarca"), QStringList(12, ""));
    }

    void chartFollowsTheTable()
    {
        CashYearProgram p;
        p.book(1, 1, 2011, "JANEIRO");
        p.book(2, 2, 2011, "FEVEREIRO");
        p.book(4, 4, 2011, "ABRIL");
        p.book(5, 5, 2011, "MAIO");
        p.movement(1, QDate(2011, 1, 2), 1000, "ENTRADA");
        p.movement(1, QDate(2011, 1, 3), 250, "SAIDA");
        p.movement(2, QDate(2011, 2, 2), 500, "ENTRADA");
        p.movement(2, QDate(2011, 2, 3), 2000, "SAIDA"); // the balance goes below zero
        p.movement(4, QDate(2011, 4, 2), 750, "ENTRADA");
        p.movement(5, QDate(2011, 5, 2), 100, "SAIDA");
        TFRResumoAnual report(p.menu);
        report.setYear(2011);
        const ReportRun run = report.QuickRep1->run();

        const auto entries = items(run, 0, "barraEntradas");
        const auto exits = items(run, 0, "barraSaidas");
        QCOMPARE(entries.size(), 3); // no bar for a month without a book, nor for an amount of 0
        QCOMPARE(exits.size(), 3);
        const int zero = items(run, 0, "zeroGrafico").first()->rect.top();
        for (const PageItem *bar : entries + exits)
            QCOMPARE(bar->rect.bottom() + 1, zero);
        QVERIFY(qAbs(entries[0]->rect.height() - 2 * entries[1]->rect.height()) <= 1); // 1000 and 500
        QVERIFY(qAbs(exits[1]->rect.height() - 8 * exits[0]->rect.height()) <= 8);    // 2000 and 250
        QVERIFY(entries[0]->rect.left() < entries[1]->rect.left());

        // The balance line: 750 and -750 (January and February), then 750 and
        // 650 (April and May): March, which has no book, breaks it.
        const auto lines = items(run, 0, "linhaSaldo");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0]->kind, PageItem::Polyline);
        QCOMPARE(lines[0]->points.size(), 2);
        QCOMPARE(lines[1]->points.size(), 2);
        QVERIFY(lines[0]->points[0].y() < zero && lines[0]->points[1].y() > zero);
        QVERIFY(lines[1]->points[0].y() < lines[1]->points[1].y());
        QCOMPARE(items(run, 0, "marcaSaldo").size(), 4);
        QCOMPARE(lines[0]->points[0], items(run, 0, "marcaSaldo")[0]->rect.center());

        // A scale of round amounts, falling down the page, zero among them.
        const QStringList scale = run.texts(0, "txtEscala");
        QVERIFY(scale.contains("0"));
        for (int i = 1; i < scale.size(); ++i)
            QVERIFY(QLocale().toDouble(scale[i]) < QLocale().toDouble(scale[i - 1]));
        // Every line of the scale, evenly spaced, also where rounding the ends
        // out to whole steps would suggest a coarser step.
        Report alone;
        Band *band = alone.addBand(Band::Kind::Title, "QRBand1", 1000);
        YearChart chart(band, QRect(0, 0, 1900, 900));
        std::array<CashMonth, 12> months;
        months[0] = {1, 1, 1, "JANEIRO", 0, 100, 5329.53, -5329.53};
        months[8] = {9, 1, 9, "SETEMBRO", 0, 118667.47, 0, 118667.47};
        chart.show(months);
        QCOMPARE(alone.run().texts(0, "txtEscala"),
                 (QStringList{"125.000", "100.000", "75.000", "50.000", "25.000", "0", "-25.000"}));
        QCOMPARE(YearChart::step(0, 1234), 250.0);
        QCOMPARE(YearChart::step(-1000, 1000), 500.0);
        QCOMPARE(YearChart::step(0, 1), 0.2);

        QTemporaryDir dir;
        QVERIFY(report.QuickRep1->exportPdf(dir.filePath("resumo.pdf")));
        QVERIFY(QFileInfo(dir.filePath("resumo.pdf")).size() > 1000);
    }

    void yearlyBookNumbersItsFolhasAndItsTermosCountThem()
    {
        CashYearProgram p;
        p.parameter(ParameterCode::ChurchName, "IGREJA BATISTA CENTRAL");
        p.parameter(ParameterCode::Cnpj, "11.222.333/0001-81");
        p.parameter(ParameterCode::CityState, "Campinas/SP");
        p.parameter(ParameterCode::Treasurer, "MARIA DA SILVA");
        p.parameter(ParameterCode::FiscalCouncil2, "JOSÉ PEREIRA");
        p.book(50, 12, 2010, "DEZEMBRO 2010", 100.0);
        p.book(1, 1, 2011, "JANEIRO");  // 40 movements: two folhas
        p.book(2, 2, 2011, "FEVEREIRO"); // no movement: one folha
        p.book(4, 4, 2011, "ABRIL");
        for (int i = 0; i < 40; ++i)
            p.movement(1, QDate(2011, 1, 1 + i % 28), 10, "ENTRADA");
        p.movement(4, QDate(2011, 4, 9), 30, "SAIDA");

        const ReportRun run = p.report<TFFLivroAnual>("2011");
        QCOMPARE(run.pages().size(), 6);
        for (int page = 0; page < 6; ++page)
            QCOMPARE(only(run, page, "txtFolha"), QString("Folha %1").arg(page + 1));
        const PageItem *folha = run.findItem(3, "txtFolha");
        QVERIFY(folha->rect.right() > 1900 && folha->rect.top() < 200); // top right corner

        QCOMPARE(only(run, 0, "txtTitulo"), "TERMO DE ABERTURA");
        const QString opening = only(run, 0, "txtTexto");
        QVERIFY2(opening.startsWith("Este livro contém 6 folhas, numeradas de 1 a 6, e servirá para o registro do "
                                    "movimento do caixa (entradas e saídas) de IGREJA BATISTA CENTRAL, inscrita no "
                                    "CNPJ sob o nº 11.222.333/0001-81, com sede em ___"),
                 qPrintable(opening));
        QVERIFY(opening.endsWith(", Campinas/SP, no ano de 2011."));
        QCOMPARE(only(run, 0, "txtLocalData"), "Campinas/SP, 10 de fevereiro de 2012.");
        QCOMPARE(only(run, 0, "txtAssinatura104"), "MARIA DA SILVA");
        QVERIFY(only(run, 0, "txtAssinatura105").startsWith("_____")); // no pastor stored: a line to fill

        // The months as their reports lay them out, one after another.
        QCOMPARE(only(run, 1, "txtMes"), "JANEIRO");
        QCOMPARE(only(run, 1, "txtTransporte"), "100,00");
        QCOMPARE(only(run, 2, "QRLabel8"), "Transporte");
        QCOMPARE(only(run, 2, "txtSaldoAtual"), "500,00");
        QCOMPARE(only(run, 3, "txtMes"), "FEVEREIRO");
        QCOMPARE(only(run, 3, "txtTransporte"), "500,00");
        QCOMPARE(only(run, 4, "txtMes"), "ABRIL");
        QCOMPARE(only(run, 4, "txtTransporte"), "0,00"); // March has no book
        QCOMPARE(only(run, 4, "txtSaldoAtual"), "-30,00");

        QCOMPARE(only(run, 5, "txtTitulo"), "TERMO DE ENCERRAMENTO");
        QCOMPARE(only(run, 5, "txtTexto"),
                 "Este livro, com 6 folhas numeradas de 1 a 6, contém o registro do movimento do caixa de IGREJA "
                 "BATISTA CENTRAL, inscrita no CNPJ sob o nº 11.222.333/0001-81, no período de 1º de janeiro de 2011 "
                 "a 30 de abril de 2011, e se encerra com o saldo de R$\u00a0-30,00. Não houve livro caixa em março, "
                 "maio, junho, julho, agosto, setembro, outubro, novembro e dezembro.");
        QCOMPARE(only(run, 5, "txtAssinatura107"), "JOSÉ PEREIRA");
        QCOMPARE(run.texts(5, "txtFuncao"), (QStringList{"Tesoureiro(a)", "Pastor(a) ou presidente", "Conselho fiscal",
                                                         "Conselho fiscal", "Conselho fiscal"}));
    }

    void yearlyBookStoresWhatTheMonthlyReportsStoreInOrder()
    {
        CashYearProgram p;
        p.book(50, 12, 2010, "DEZEMBRO 2010", 321.09);
        p.twelveMonths(45); // two folhas a month
        // Balances stored before some movements were corrected: all wrong.
        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOANTERIOR = 1, LIVSALDOATUAL = 2 WHERE LIVANO = 2011");
        const QList<QVariantList> wrong = p.storedBalances();

        TFRLivroAnual book(p.menu);
        book.setYear(2011);
        QList<int> progress;
        book.QuickRep1->onProgress = [&](int percent) { progress << percent; };
        const ReportRun yearly = book.QuickRep1->run();
        const QList<QVariantList> byTheBook = p.storedBalances();
        QVERIFY(byTheBook != wrong);
        QCOMPARE(progress.last(), 100);
        for (int i = 0; i < progress.size(); ++i)
            QVERIFY(progress[i] % 5 == 0 && (i == 0 || progress[i] > progress[i - 1]));

        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOANTERIOR = 1, LIVSALDOATUAL = 2 WHERE LIVANO = 2011");
        DM->TBLIVRO->close();
        int page = 1;
        for (int month = 1; month <= 12; ++month) {
            TFRLivroCaixa monthly(p.menu);
            monthly.setBook(100 + month, QString("CAIXA %1/2011").arg(month));
            ReportWindow::openWith(monthly.QLivro, TFRLivroCaixa::kSql, {100 + month});
            const ReportRun run = monthly.QuickRep1->run();
            for (const LaidOutPage &monthPage : run.pages())
                QCOMPARE(describe(yearly.pages().at(page++)), describe(monthPage));
        }
        QCOMPARE(page, int(yearly.pages().size()) - 1);
        QCOMPARE(p.storedBalances(), byTheBook);
        QCOMPARE(byTheBook.first()[1].toDouble(), 321.09);
    }

    void refusalsAndBlanks()
    {
        CashYearProgram p;
        p.book(1, 5, 2011, "MAIO");
        p.book(2, 13, 2015, "MÊS QUE NÃO EXISTE");
        Messages::Recorder messages;
        const auto refused = [&](YearFilter *window, const QString &year) {
            std::unique_ptr<YearFilter> owned(window);
            window->show();
            window->txtAno->setText(year);
            QTest::mouseClick(window->btnGerar, Qt::LeftButton);
            QVERIFY(window->findChildren<ReportWindow *>().isEmpty());
        };
        for (const QString &year : {QString("2015"), QString("")}) {
            refused(new TFFResumoAnual(p.menu), year);
            refused(new TFFLivroAnual(p.menu), year);
        }
        QCOMPARE(messages.texts(), (QStringList{"Não há livros caixa em 2015.", "Não há livros caixa em 2015.",
                                                 "Digite o ano com quatro algarismos.",
                                                 "Digite o ano com quatro algarismos."}));

        // The latest year with a book of a month is proposed.
        TFFResumoAnual proposed(p.menu);
        proposed.show();
        QCOMPARE(proposed.txtAno->text(), "2011");

        // No church data at all: lines to fill by hand.
        const ReportRun summary = p.report<TFFResumoAnual>("2011");
        QVERIFY(only(summary, 0, "txtNomeDaIgreja").startsWith("_____"));
        const ReportRun book = p.report<TFFLivroAnual>("2011");
        QCOMPARE(book.pages().size(), 3);
        QVERIFY(only(book, 0, "txtTexto").contains("(entradas e saídas) de ________"));
        QVERIFY(only(book, 0, "txtLocalData").startsWith("_____"));
        for (const QString &name : book.texts(2, "txtAssinatura104") + book.texts(2, "txtAssinatura108"))
            QVERIFY(name.startsWith("_____"));
    }

    void openedFromTheMainWindowsMenu()
    {
        CashYearProgram p;
        const QStringList captions = SignedInProgram::captionsOpenedBy({
            [&] { p.menu->ResumoAnualdoCaixa1->trigger(); },
            [&] { p.menu->LivroCaixaAnual1->trigger(); },
        });
        QCOMPARE(captions, (QStringList{"Resumo Anual do Caixa", "Livro Caixa Anual"}));
    }
};

QTEST_MAIN(TestCashYearReports)
#include "tst_cashyear_reports.moc"
