// The cash book report made from its filter window as a treasurer makes it:
// the pages, the carried totals, the closing box and the balances stored.
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "uikit/Messages.h"
#include "datamodule/UDM.h"
#include "controls/DBLookupComboBox.h"
#include "reports/caixa/UFLivro.h"
#include "reports/caixa/URLivroCaixa.h"
#include "reports/engine/PrintPreview.h"

#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

struct CashBook : SignedInProgram
{
    void book(int code, int month, int year, const QString &description, const QVariant &current = {})
    {
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO, LIVSALDOATUAL) "
                   "VALUES (?, ?, 'Mes', ?, ?, ?)",
                   {code, month, year, description, current});
    }
    void movement(int book, int day, double amount, const QString &kind, const QString &text = "OFERTA")
    {
        fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   {++m_movements, text, book, amount, kind, QDate(2011, 5, day)});
    }
    QVariant stored(const char *column, int code)
    {
        return fx.db.scalar(QString("SELECT %1 FROM TLIVRO WHERE LIVCODIGO = %2").arg(column).arg(code));
    }

    // Opens the filter window, chooses the book at `row` of its list (none
    // when negative), clicks "Gerar Relatório" and returns the previewed pages.
    ReportRun report(int row)
    {
        filter = std::make_unique<TFFLivro>(menu);
        filter->show();
        if (row >= 0) {
            filter->DBLookupComboBox1->setFocus();
            QTest::keyClick(filter->DBLookupComboBox1, Qt::Key_Home);
            for (int i = 0; i < row; ++i)
                QTest::keyClick(filter->DBLookupComboBox1, Qt::Key_Down);
        }
        ReportRun shown;
        whenPreviewLaidOut([&](PrintPreview *preview) {
            shown = preview->run();
            preview->close();
        });
        QTest::mouseClick(filter->btnGerar, Qt::LeftButton);
        return shown;
    }

    std::unique_ptr<TFFLivro> filter;

private:
    int m_movements = 0;
};

QString text(const ReportRun &run, int page, const char *element)
{
    const QStringList texts = run.texts(page, element);
    return texts.size() == 1 ? texts.first() : QString("<%1 texts>").arg(texts.size());
}

QColor colour(const ReportRun &run, int page, const char *element)
{
    const PageItem *item = run.findItem(page, element);
    return item ? item->colour : QColor();
}

double sumOf(const QStringList &amounts)
{
    double sum = 0;
    for (const QString &amount : amounts)
        sum += amount.isEmpty() ? 0 : QLocale().toDouble(amount);
    return sum;
}

} // namespace

class TestLivroCaixaRelatorio : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void monthOnOnePageWithTheClosingBox()
    {
        CashBook p;
        p.fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (1, 'IGREJA BATISTA CENTRAL')");
        p.fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (2, 'OUTRO VALOR')");
        p.book(1, 4, 2011, "CAIXA DE ABRIL", 100.0);
        p.book(2, 5, 2011, "CAIXA DE MAIO");
        p.movement(2, 3, 50, "ENTRADA", "DIZIMOS");
        p.movement(2, 9, 20, "SAIDA", "CONTA DE LUZ");
        p.movement(2, 5, 30, "ENTRADA", "OFERTAS");
        DM->TBPARAMENTROS->open();
        DM->TBPARAMENTROS->setFilter("(UPPER(PARVALOR) LIKE UPPER('%OUTRO%'))"); // left on by the parameters window
        DM->TBPARAMENTROS->setFiltered(true);

        const ReportRun run = p.report(1);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(p.filter->txtMes->text(), "Mes");
        QCOMPARE(p.filter->txtAno->text(), "2011");
        QCOMPARE(text(run, 0, "txtMes"), "CAIXA DE MAIO");
        QCOMPARE(text(run, 0, "txtNomeDaIgreja"), "IGREJA BATISTA CENTRAL");
        QCOMPARE(text(run, 0, "QRLabel8"), "Transporte mês anterior");
        QCOMPARE(text(run, 0, "txtTransporte"), "100,00");
        QCOMPARE(text(run, 0, "txtTransEntradas"), "");
        // In date order, each line in the colour of its kind.
        QCOMPARE(run.texts(0, "txtData"), (QStringList{"03/05", "05/05", "09/05"}));
        QCOMPARE(run.texts(0, "txtEntrada"), (QStringList{"50,00", "30,00", ""}));
        QCOMPARE(run.texts(0, "txtSaidas"), (QStringList{"", "", "20,00"}));
        QList<QColor> lineColours;
        for (const PageItem &item : run.pages().at(0).items)
            if (item.elementName == "QRDBText2")
                lineColours << item.colour;
        QCOMPARE(lineColours, (QList<QColor>{Blue, Blue, Red}));

        QCOMPARE(text(run, 0, "txtSubEntrada"), "80,00");
        QCOMPARE(text(run, 0, "txtSubSaida"), "20,00");
        QCOMPARE(text(run, 0, "txtSaldoAnterior"), "100,00");
        QCOMPARE(text(run, 0, "txtSaldoAtual"), "160,00");
        QCOMPARE(text(run, 0, "txtConferencia1"), "180,00");
        QCOMPARE(text(run, 0, "txtConferencia2"), "180,00");
        QCOMPARE(colour(run, 0, "FiguraTotalizador1"), QColor(Qt::black));
        QCOMPARE(colour(run, 0, "txtSaldoAtual"), Blue);

        QCOMPARE(p.stored("LIVSALDOANTERIOR", 2).toDouble(), 100.0);
        QCOMPARE(p.stored("LIVSALDOATUAL", 2).toDouble(), 160.0);
        QCOMPARE(p.stored("LIVSALDOATUAL", 1).toDouble(), 100.0); // April untouched
        QCOMPARE(DM->TBLIVROLIVCODIGO->asInteger(), 2); // the books table stands on the reported book
        QVERIFY(!DM->TBLIVRO->hasPendingChanges());
    }

    void januaryTakesDecemberAndAnEmptyMonthStillCloses()
    {
        CashBook p;
        p.book(1, 12, 2009, "DEZEMBRO 2009", 250.5);
        p.book(2, 12, 2010, "DEZEMBRO 2010", 999.0); // the wrong December
        p.book(3, 1, 2010, "JANEIRO 2010");
        const ReportRun run = p.report(2);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(text(run, 0, "txtNomeDaIgreja"), ""); // no parameter 1
        QCOMPARE(text(run, 0, "txtTransporte"), "250,50");
        QVERIFY(run.texts(0, "txtData").isEmpty());
        QCOMPARE(text(run, 0, "txtSubEntrada"), "0,00");
        QCOMPARE(text(run, 0, "txtSubSaida"), "0,00");
        QCOMPARE(text(run, 0, "txtSaldoAtual"), "250,50");
        QCOMPARE(text(run, 0, "txtConferencia2"), "250,50");
        QCOMPARE(p.stored("LIVSALDOANTERIOR", 3).toDouble(), 250.5);
        QCOMPARE(p.stored("LIVSALDOATUAL", 3).toDouble(), 250.5);

        // A month with no book before it starts from 0; an empty balance reads 0.
        p.book(4, 7, 2015, "JULHO 2015");
        p.book(5, 8, 2015, "AGOSTO 2015");
        DM->TBLIVRO->close();
        QCOMPARE(text(p.report(3), 0, "txtTransporte"), "0,00");
        QCOMPARE(p.stored("LIVSALDOANTERIOR", 4).toDouble(), 0.0);
        QCOMPARE(text(p.report(4), 0, "txtTransporte"), "0,00");
    }

    void carriedTotalsAcrossAPageBreak_data()
    {
        QTest::addColumn<QString>("firstKind");
        QTest::newRow("alternating from an entry") << "ENTRADA";
        QTest::newRow("alternating from an exit") << "SAIDA";
    }
    void carriedTotalsAcrossAPageBreak()
    {
        QFETCH(QString, firstKind);
        const QString other = firstKind == "ENTRADA" ? "SAIDA" : "ENTRADA";
        CashBook p;
        p.book(1, 5, 2011, "MAIO");
        for (int i = 0; i < 40; ++i)
            p.movement(1, 1 + i % 28, 10 + i, i % 2 ? other : firstKind);
        const ReportRun run = p.report(0);
        QCOMPARE(run.pages().size(), 2);
        const int onFirst = run.texts(0, "txtData").size();
        QVERIFY(onFirst > 30 && onFirst < 36);
        const double entries = sumOf(run.texts(0, "txtEntrada"));
        const double exits = sumOf(run.texts(0, "txtSaidas"));
        QCOMPARE(text(run, 0, "txtSubEntrada"), QLocale().toString(entries, 'f', 2));
        QCOMPARE(text(run, 0, "txtSubSaida"), QLocale().toString(exits, 'f', 2));
        QCOMPARE(text(run, 1, "QRLabel8"), "Transporte");
        QCOMPARE(text(run, 1, "txtTransporte"), "");
        QCOMPARE(text(run, 1, "txtTransEntradas"), text(run, 0, "txtSubEntrada"));
        QCOMPARE(text(run, 1, "txtTransSaidas"), text(run, 0, "txtSubSaida"));
        // The last footer carries every movement; the box shows on the last page only.
        const double allEntries = entries + sumOf(run.texts(1, "txtEntrada"));
        const double allExits = exits + sumOf(run.texts(1, "txtSaidas"));
        QCOMPARE(text(run, 1, "txtSubEntrada"), QLocale().toString(allEntries, 'f', 2));
        QCOMPARE(text(run, 1, "txtSubSaida"), QLocale().toString(allExits, 'f', 2));
        QCOMPARE(colour(run, 0, "FiguraTotalizador1"), QColor(Qt::white));
        QCOMPARE(colour(run, 0, "LabelTotalizador2"), QColor(Qt::white));
        QCOMPARE(colour(run, 0, "txtSaldoAtual"), QColor(Qt::white));
        QCOMPARE(colour(run, 1, "FiguraTotalizador1"), QColor(Qt::black));
        QCOMPARE(colour(run, 1, "LabelTotalizador2"), QColor(Qt::black));
        QCOMPARE(text(run, 1, "txtSaldoAtual"), QLocale().toString(allEntries - allExits, 'f', 2));
        QCOMPARE(p.stored("LIVSALDOATUAL", 1).toDouble(), allEntries - allExits);
    }

    void printingRunsAgainAndStoresAgain()
    {
        CashBook p;
        p.book(1, 4, 2011, "ABRIL", 10.0);
        p.book(2, 5, 2011, "MAIO");
        p.movement(2, 2, 5, "ENTRADA");
        const ReportRun previewed = p.report(1);
        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOATUAL = NULL, LIVSALDOANTERIOR = NULL WHERE LIVCODIGO = 2");
        DM->TBLIVRO->close(); // re-read, as another session would
        DM->TBLIVRO->open();

        const QList<TFRLivroCaixa *> reports = p.filter->findChildren<TFRLivroCaixa *>();
        QCOMPARE(reports.size(), 1); // the report window stays with its filter window
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("livro.pdf"));
        QVERIFY(reports.first()->QuickRep1->print(printer));
        QCOMPARE(p.stored("LIVSALDOANTERIOR", 2).toDouble(), 10.0);
        QCOMPARE(p.stored("LIVSALDOATUAL", 2).toDouble(), 15.0);
        // Handlers start afresh: a second run shows the same pages.
        const ReportRun again = reports.first()->QuickRep1->run();
        QCOMPARE(again.texts(0, "txtSaldoAtual"), previewed.texts(0, "txtSaldoAtual"));
        QCOMPARE(again.texts(0, "txtSubEntrada"), QStringList{"5,00"});
    }

    // The database refuses to store the balances: the report still shows
    // its pages, the refusal is said, and the book stays as it is stored,
    // with nothing left pending in the books table.
    void aRefusedBalanceIsShownAndUndone()
    {
        CashBook p;
        Messages::Recorder recorder;
        p.book(1, 4, 2011, "ABRIL", 10.0);
        p.book(2, 5, 2011, "MAIO", 99.0);
        p.movement(2, 2, 5, "ENTRADA");
        p.fx.db.exec("CREATE EXCEPTION LIVRO_FECHADO 'o livro de maio está fechado'");
        p.fx.db.exec("CREATE TRIGGER LIVRO_SO_LEITURA FOR TLIVRO BEFORE UPDATE AS BEGIN EXCEPTION LIVRO_FECHADO; END");
        const ReportRun run = p.report(1);
        QCOMPARE(text(run, 0, "txtSaldoAtual"), "15,00");
        QCOMPARE(recorder.shown.size(), 1);
        QVERIFY2(recorder.shown[0].text.contains("o livro de maio está fechado"), qPrintable(recorder.shown[0].text));
        QVERIFY(!DM->TBLIVRO->hasPendingChanges() && !DM->TBLIVRO->editing());
        QVERIFY(DM->TBLIVRO->locate("LIVCODIGO", {2}));
        QCOMPARE(DM->TBLIVROLIVSALDOATUAL->asFloat(), 99.0); // in memory as in the database
        QCOMPARE(p.stored("LIVSALDOATUAL", 2).toDouble(), 99.0);
    }

    void booksOfOneDescriptionKeepTheirOwnBalances()
    {
        CashBook p;
        p.book(1, 4, 2011, "CAIXA", 40.0);
        p.book(2, 5, 2011, "CAIXA", 70.0);
        p.movement(2, 1, 10, "SAIDA");
        const ReportRun run = p.report(1);
        QCOMPARE(text(run, 0, "txtTransporte"), "40,00");
        QCOMPARE(text(run, 0, "txtSaldoAtual"), "30,00");
        QCOMPARE(p.stored("LIVSALDOATUAL", 2).toDouble(), 30.0);
        QCOMPARE(p.stored("LIVSALDOANTERIOR", 2).toDouble(), 40.0);
        QCOMPARE(p.stored("LIVSALDOATUAL", 1).toDouble(), 40.0);
        QVERIFY(p.stored("LIVSALDOANTERIOR", 1).isNull());
    }

    // A profile that only reads the cash book sees the report; the balances
    // are not stored, and nothing is refused.
    void aReadingProfileReportsWithoutStoring()
    {
        CashBook p;
        startSession(Profile::Consulta);
        Messages::Recorder recorder;
        p.book(1, 5, 2011, "MAIO", 100);
        p.movement(1, 2, 80, "ENTRADA");
        const ReportRun run = p.report(0);
        QCOMPARE(text(run, 0, "txtSaldoAtual"), "80,00");
        QCOMPARE(p.stored("LIVSALDOATUAL", 1).toDouble(), 100.0);
        QVERIFY2(recorder.shown.isEmpty(), qPrintable(recorder.texts().join('\n')));
    }

    void noBookChosenMakesNoReport()
    {
        CashBook p;
        p.book(1, 5, 2011, "MAIO");
        Messages::Recorder messages;
        bool previewed = false;
        QTimer closer; // ends a preview that should not have opened, and stops with the test
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                previewed = true;
                modal->close();
            }
        });
        closer.start(10);
        auto filter = std::make_unique<TFFLivro>(p.menu);
        filter->show();
        QTest::mouseClick(filter->btnGerar, Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{"Escolha o livro caixa."});
        QVERIFY(!previewed);
        QVERIFY(filter->findChildren<TFRLivroCaixa *>().isEmpty());
        QVERIFY(p.stored("LIVSALDOATUAL", 1).isNull());
    }

    void amountsAndDatesInTheSystemsFormat()
    {
        QCOMPARE(TFRLivroCaixa::formatAmount(1234567.5), "1.234.567,50");
        QCOMPARE(TFRLivroCaixa::formatAmount(0), "0,00");
        QCOMPARE(TFRLivroCaixa::formatAmount(0.1 + 0.2 - 0.3), "0,00"); // never "-0,00"
        QCOMPARE(TFRLivroCaixa::formatAmount(-1234.5), "-1.234,50");
        QCOMPARE(TFRLivroCaixa::formatAmount(999.995), "1.000,00");
        QCOMPARE(TFRLivroCaixa::formatDayMonth(QDate(2011, 1, 7)), "07/01");
    }

    void openedFromTheMainWindowAndTheBookRegister()
    {
        CashBook p;
        const QStringList captions = SignedInProgram::captionsOpenedBy({
            [&] { p.menu->btnLivro->click(); },
            [&] { p.menu->RelatriodeLivroCaixa1->trigger(); },
            [&] { p.open<TFLivroCaixa>()->btnRelatorio->click(); },
        });
        QCOMPARE(captions, QStringList(3, "Filtro de Relatório de Livro Caixa"));
    }
};

QTEST_MAIN(TestLivroCaixaRelatorio)
#include "tst_livrocaixa_relatorio.moc"
