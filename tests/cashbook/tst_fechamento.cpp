// Closing a month of the cash book: in order, with the balances the cash
// book report computes; every way into a closed month refused (the windows,
// a table in code, a second workstation, plain SQL) with the same message;
// only the latest closed month reopened, with its reason in the change log;
// the reports of a closed month store nothing and say when it closed.
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "controls/DBEdit.h"
#include "controls/DBRadioGroup.h"
#include "datamodule/ClosedMonths.h"
#include "datamodule/UDM.h"
#include "provider/QueryDataset.h"
#include "reports/caixa/URLivroCaixa.h"
#include "reports/caixa/URResumoAnual.h"
#include "reports/engine/ReportRun.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kClosedMay = "O livro MAIO/2011 está fechado. Para alterar um lançamento dele, reabra o mês em Cadastro "
                           "do Livro Caixa do Mês.";

// March, April, May and June of 2011 (books 3 to 6), with movements:
// March 100 in; April 50 and 30 in, 20 out; May 10 in; June none.
struct CashProgram : SignedInProgram
{
    CashProgram() : SignedInProgram(Profile::Tesouraria)
    {
        for (int month = 3; month <= 6; ++month)
            fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO) VALUES (?, ?, ?, 2011, ?)",
                       {month, month, ClosedMonths::monthName(month), QString("CAIXA %1/2011").arg(month)});
        int code = 0;
        for (const auto &[book, amount, kind] : QList<std::tuple<int, double, QString>>{
                 {3, 100, "ENTRADA"}, {4, 50, "ENTRADA"}, {4, 30, "ENTRADA"}, {4, 20, "SAIDA"}, {5, 10, "ENTRADA"}})
            fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, "
                       "MOVDATA) VALUES (?, 'OFERTA', ?, ?, ?, ?)",
                       {++code, book, amount, kind, QDate(2011, book, 10)});
    }
    std::unique_ptr<TFLivroCaixa> books() { return open<TFLivroCaixa>(); }
    // Runs `command` of the books window on book `code`.
    static void onBook(TFLivroCaixa &w, int code, QToolButton *command)
    {
        QVERIFY(DM->TBLIVRO->locate("LIVCODIGO", {code}));
        w.command(command)->trigger();
    }
    QList<QVariantList> balances()
    {
        return fx.db.rows("SELECT LIVCODIGO, COALESCE(LIVSALDOANTERIOR, -1), COALESCE(LIVSALDOATUAL, -1), "
                          "COALESCE(LIVFECHADOPOR, '-') FROM TLIVRO ORDER BY 1");
    }
    QList<QVariantList> movements() { return fx.db.rows("SELECT * FROM TMOVIMETACOES ORDER BY 1"); }
    int lastLine() { return fx.db.scalar("SELECT MAX(ALTCODIGO) FROM TALTERACOES").toInt(); }
};

QString errorShown(const Messages::Recorder &messages)
{
    for (const Messages::Shown &s : messages.shown)
        if (s.kind == Messages::Shown::Error)
            return s.text;
    return {};
}

ReportRun monthReport(int book)
{
    TFRLivroCaixa report(nullptr);
    report.setBook(book, "CAIXA");
    ReportWindow::openWith(report.QLivro, TFRLivroCaixa::kSql, {book});
    return report.QuickRep1->run();
}

} // namespace

class TestFechamento : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    // Out of order refused; in order each month stores the balances its
    // report shows, the date and who closed it, and the log says so; its
    // report then stores nothing and says how it closed.
    void monthsCloseInOrder()
    {
        CashProgram p;
        Messages::Recorder messages;
        messages.defaultAnswer = true;
        auto w = p.books();
        CashProgram::onBook(*w, 4, w->btnFecharMes);
        QCOMPARE(errorShown(messages), QString("O livro MARÇO/2011, do mês anterior, ainda está aberto: os meses se "
                                               "fecham em ordem. Feche antes o livro MARÇO/2011."));
        QCOMPARE(p.balances().at(1), (QVariantList{4, -1.0, -1.0, "-"}));

        messages.clear();
        CashProgram::onBook(*w, 3, w->btnFecharMes);
        CashProgram::onBook(*w, 4, w->btnFecharMes);
        QCOMPARE(errorShown(messages), QString());
        QCOMPARE(messages.texts().last(), QString("O mês do livro ABRIL/2011 foi fechado: saldo anterior R$ 100,00, saldo "
                                                  "atual R$ 160,00."));
        QCOMPARE(p.balances().mid(0, 2), (QList<QVariantList>{{3, 0.0, 100.0, "master"}, {4, 100.0, 160.0, "master"}}));
        QCOMPARE(p.fx.db.scalar("SELECT LIVFECHADOEM FROM TLIVRO WHERE LIVCODIGO = 4").toDate(), Today::date());
        QCOMPARE(w->lblFechamento->text(), "Mês fechado em " + Today::date().toString("dd/MM/yyyy") + " por master");
        QVERIFY(!w->command(w->btnFecharMes)->isEnabled() && w->command(w->btnReabrirMes)->isEnabled());
        QCOMPARE(p.fx.db.rows("SELECT ALTREGISTRO, ALTOPERACAO, ALTCONTA FROM TALTERACOES WHERE ALTTABELA = 'TLIVRO' "
                              "AND ALTOPERACAO = 'FECHAMENTO' ORDER BY ALTCODIGO"),
                 (QList<QVariantList>{{3, "FECHAMENTO", "master"}, {4, "FECHAMENTO", "master"}}));

        const int before = p.lastLine();
        const ReportRun april = monthReport(4);
        QCOMPARE(april.texts(0, "txtSaldoAnterior"), QStringList{"100,00"});
        QCOMPARE(april.texts(0, "txtSaldoAtual"), QStringList{"160,00"});
        QCOMPARE(april.texts(0, "txtFechamento"), QStringList{w->lblFechamento->text()});
        QCOMPARE(monthReport(5).texts(0, "txtFechamento"), QStringList{"Mês em aberto"});
        QCOMPARE(p.lastLine(), before + 1); // May's balances stored; April's not again
    }

    void everyWayIntoAClosedMonthIsRefused_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"Alterar", "Excluir", "Salvar no livro fechado", "mover para o livro fechado",
                                "tabela", "segunda estação", "SQL"})
            QTest::newRow(way) << QString(way);
    }

    // May closed: its movement (5) is neither changed nor deleted, and no
    // movement comes into it, by any way; June's (added here) stays June's.
    void everyWayIntoAClosedMonthIsRefused()
    {
        QFETCH(QString, way);
        CashProgram p;
        p.fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO) VALUES (6, 6, 5, 'SAIDA')");
        Messages::Recorder messages;
        for (int book : {3, 4, 5})
            ClosedMonths::close(book, QDate(2011, 6, 5));
        const QList<QVariantList> stored = p.movements();
        auto w = p.open<TFMovimentacoes>();
        TableDataset *table = DM->TBMOVIMENTACOES;
        const auto inWindow = [&](int movement, QToolButton *command) {
            QVERIFY(table->locate("MOVCODIGO", {movement}));
            w->command(command)->trigger();
        };
        QString refusal;
        if (way == "Alterar" || way == "Excluir") {
            messages.defaultAnswer = true;
            inWindow(5, way == "Alterar" ? w->btnAlterar : w->btnExcluir);
            refusal = errorShown(messages);
            QCOMPARE(table->state(), Dataset::State::Browse);
        } else if (way.contains("livro fechado")) {
            way.startsWith("Salvar") ? w->btnNovoClick() : inWindow(6, w->btnAlterar);
            w->DBEdit3->setFocus();
            w->DBEdit3->selectAll();
            QTest::keyClicks(w->DBEdit3, "5");
            w->DBRadioGroup1->button(0)->click();
            w->btnSalvar->click();
            refusal = errorShown(messages);
            QVERIFY(table->editing()); // what was typed stays, to be corrected or cancelled
        } else if (way == "tabela" || way == "segunda estação") {
            std::unique_ptr<TDM> second = way == "tabela" ? nullptr : p.fx.db.connect("segunda");
            TDM *dm = second ? second.get() : DM;
            dm->TBMOVIMENTACOES->open();
            QVERIFY(dm->TBMOVIMENTACOES->locate("MOVCODIGO", {5}));
            dm->TBMOVIMENTACOES->edit();
            dm->TBMOVIMENTACOESMOVVALOR->setAsFloat(99);
            dm->TBMOVIMENTACOES->post();
            refusal = dbErrorOf([&] { dm->TBMOVIMENTACOES->applyUpdates(0); });
            dm->TBMOVIMENTACOES->cancelUpdates();
        } else {
            refusal = dbErrorOf([&] { p.fx.db.exec("DELETE FROM TMOVIMETACOES WHERE MOVLIVRO = 5"); }).section('\n', 0, 0);
        }
        QCOMPARE(refusal, kClosedMay);
        QCOMPARE(p.movements(), stored);
    }

    // Only the latest closed month reopens, for a reason, which the log
    // keeps first in its line; an empty one is refused, by the window and
    // by the database alike.
    void onlyTheLatestReopensWithItsReason()
    {
        CashProgram p;
        Messages::Recorder messages;
        for (int book : {3, 4})
            ClosedMonths::close(book, QDate(2011, 5, 2));
        auto w = p.books();
        CashProgram::onBook(*w, 3, w->btnReabrirMes);
        QCOMPARE(errorShown(messages), QString("Só o último mês fechado pode ser reaberto: reabra antes o livro ABRIL/2011."));
        messages.clear();
        messages.typed = {QString("   "), std::nullopt, QString("Lançamento esquecido")};
        CashProgram::onBook(*w, 4, w->btnReabrirMes);
        QCOMPARE(errorShown(messages), QString("Informe o motivo da reabertura do livro ABRIL/2011."));
        CashProgram::onBook(*w, 4, w->btnReabrirMes); // cancelled
        QVERIFY(ClosedMonths::closingOf(4));
        CashProgram::onBook(*w, 4, w->btnReabrirMes);
        QVERIFY(!ClosedMonths::closingOf(4));
        QCOMPARE(w->lblFechamento->text(), QString("Mês em aberto"));
        QCOMPARE(p.fx.db.scalar("SELECT CAST(ALTDETALHES AS VARCHAR(500)) FROM TALTERACOES "
                                "WHERE ALTOPERACAO = 'REABERTURA'").toString(),
                 QString("Motivo: Lançamento esquecido; LIVFECHADOEM: 02/05/2011 → (vazio); LIVFECHADOPOR: master → (vazio)"));
        const QString tool = dbErrorOf([&] { p.fx.db.exec("UPDATE TLIVRO SET LIVFECHADOEM = NULL WHERE LIVCODIGO = 3"); });
        QVERIFY2(tool.contains("Informe o motivo da reabertura do livro MARÇO/2011."), qPrintable(tool));
    }

    void badInputIsRefused_data()
    {
        QTest::addColumn<QString>("sql");      // done beforehand, with the books' rules switched off
        QTest::addColumn<int>("book");         // then closed
        QTest::addColumn<QString>("refusal");
        QTest::newRow("saldos que não se encadeiam")
            << "UPDATE TLIVRO SET LIVSALDOATUAL = 170 WHERE LIVCODIGO = 4" << 5
            << "O saldo atual gravado no livro ABRIL/2011 (R$ 170,00) não confere com o saldo anterior e os lançamentos "
               "dele (R$ 160,00): os saldos não se encadeiam, e o livro MAIO/2011 não pode ser fechado. Reabra o livro "
               "ABRIL/2011 e feche-o de novo.";
        QTest::newRow("sem mês") << "UPDATE TLIVRO SET LIVMES = NULL WHERE LIVCODIGO = 5" << 5
                                 << "Para fechar o livro CAIXA 5/2011, preencha antes o mês (de 1 a 12) e o ano dele.";
        QTest::newRow("fechado já") << "" << 4 << "O livro ABRIL/2011 já está fechado.";
    }

    void badInputIsRefused()
    {
        QFETCH(QString, sql);
        QFETCH(int, book);
        QFETCH(QString, refusal);
        CashProgram p;
        for (int closed : {3, 4})
            ClosedMonths::close(closed, QDate(2011, 5, 2));
        if (!sql.isEmpty()) {
            p.fx.db.exec("ALTER TRIGGER TLIVRO_FECHAMENTO INACTIVE");
            p.fx.db.exec(sql);
            p.fx.db.exec("ALTER TRIGGER TLIVRO_FECHAMENTO ACTIVE");
            DM->TBLIVRO->close();
        }
        const QList<QVariantList> balances = p.balances();
        QCOMPARE(dbErrorOf([&] { ClosedMonths::close(book, QDate(2011, 6, 2)); }), refusal);
        QCOMPARE(p.balances(), balances);
        // No book comes into a closed month, nor into the month before one.
        for (int month : {3, 4})
            QVERIFY(dbErrorOf([&] {
                        p.fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVANO) VALUES (9, ?, 2011)", {month});
                    }).contains("não pode ser incluído"));
    }

    // The year summary says how each month closed; a closed month is never
    // marked stale, even with stored balances that no longer match.
    void theYearSummaryShowsTheClosedMonths()
    {
        CashProgram p;
        ClosedMonths::close(3, QDate(2011, 4, 2));
        p.fx.db.exec("ALTER TRIGGER TLIVRO_FECHAMENTO INACTIVE");
        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOATUAL = 1 WHERE LIVCODIGO = 3");
        p.fx.db.exec("ALTER TRIGGER TLIVRO_FECHAMENTO ACTIVE");
        DM->TBLIVRO->close();
        TFRResumoAnual summary(nullptr);
        summary.setYear(2011);
        const ReportRun run = summary.QuickRep1->run();
        QCOMPARE(run.texts(0, "txtFechado").mid(2, 4), (QStringList{"02/04/2011", "aberto", "aberto", "aberto"}));
        QCOMPARE(run.texts(0, "txtMarca").mid(2, 2), (QStringList{QString(), "*"}));
    }
};

QTEST_MAIN(TestFechamento)
#include "tst_fechamento.moc"
