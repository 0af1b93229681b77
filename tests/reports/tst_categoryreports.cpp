// The reports of the categories and the givers: the month's accounts
// (closing on the cash book report's balance over a chain of twelve months),
// the tithers of a period, the receipt of a gift, and the year summary's
// totals by category; made on a real database and checked on their display
// lists. A database of the first level shows none of them.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "cashbook/UMovimentacoes.h"
#include "uikit/Messages.h"
#include "datamodule/ParameterCodes.h"
#include "datamodule/UDM.h"
#include "controls/DBLookupComboBox.h"
#include "reports/caixa/UFDizimistas.h"
#include "reports/caixa/UFLivro.h"
#include "reports/caixa/URLivroCaixa.h"
#include "reports/caixa/URPrestacaoContas.h"
#include "reports/caixa/URRecibo.h"
#include "reports/caixa/URResumoAnual.h"
#include "reports/caixa/YearCategories.h"
#include "reports/engine/Report.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QToolButton>
#include <QtTest>

namespace {

// Starting categories used here.
constexpr int Dizimos = 1, Ofertas = 2, Missoes = 3, Energia = 8, Agua = 9;

struct Program : SignedInProgram
{
    int m_movements = 0;

    void book(int code, int month, int year, const QString &description)
    {
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO) VALUES (?, ?, 'Mes', ?, ?)",
                   {code, month, year, description});
    }
    int movement(int book, const QDate &day, double amount, const QString &kind, const QVariant &category = {},
                 const QVariant &member = {}, const QString &description = QStringLiteral("LANÇAMENTO"),
                 const QVariant &document = {})
    {
        fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA, "
                   "MOVCATEGORIA, MOVMEMBRO, MOVDOCUMENTO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                   {++m_movements, description, book, amount, kind, day, category, member, document});
        return m_movements;
    }
    void member(int code, const QString &name, const QString &phone = {})
    {
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMCELULAR) VALUES (?, ?, ?)", {code, name, phone});
    }
    void parameter(int code, const QString &value)
    {
        fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (?, ?)", {code, value});
    }
    // The database as a copy of the program before the categories left it.
    void firstLevel()
    {
        fx.db.exec("DROP TABLE TCATEGORIA");
        fx.db.exec("ALTER TABLE TMOVIMETACOES DROP MOVCATEGORIA, DROP MOVMEMBRO, DROP MOVDOCUMENTO");
        fx.db.exec("DELETE FROM TPARAMETROS WHERE PARCODIGO = 109");
    }
};

ReportRun cashBookRun(QWidget *owner, int book)
{
    TFRLivroCaixa report(owner);
    report.setBook(book, QStringLiteral("LIVRO"));
    ReportWindow::openWith(report.QLivro, TFRLivroCaixa::kSql, {book});
    return report.QuickRep1->run();
}

ReportRun accountsRun(QWidget *owner, int book)
{
    TFRPrestacaoContas report(owner);
    report.setBook(book, QStringLiteral("LIVRO"));
    return report.QuickRep1->run();
}

// The lines of a report of lines on every page: the texts of the elements
// on one band, joined by " | " where they are not empty, top to bottom.
QStringList lines(const ReportRun &run, const QStringList &elements)
{
    QStringList result;
    for (int page = 0; page < run.pages().size(); ++page) {
        QMap<int, QStringList> byTop;
        for (const QString &element : elements)
            for (const PageItem &item : run.pages().at(page).items)
                if (item.elementName == element)
                    byTop[item.rect.top() / 10] << item.text;
        for (auto it = byTop.begin(); it != byTop.end(); ++it) {
            QStringList texts = it.value();
            texts.removeAll(QString());
            result << texts.join(" | ");
        }
    }
    return result;
}

QStringList accountLines(const ReportRun &run)
{
    return lines(run, {"txtDescricao", "txtLancamentos", "txtValor"});
}

// The amount on the line whose description is `description`.
QString amountOn(const QStringList &lines, const QString &description)
{
    for (const QString &line : lines)
        if (line.startsWith(description + " | "))
            return line.section(" | ", -1);
    return QString("<sem %1>").arg(description);
}

QString only(const ReportRun &run, int page, const char *element)
{
    const QStringList texts = run.texts(page, element);
    return texts.size() == 1 ? texts.first() : QString("<%1 textos>").arg(texts.size());
}

} // namespace

class TestCategoryReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    // The month's accounts: entries and exits by category in the order of
    // the categories, movements without a category (or whose category was
    // deleted) under "Sem categoria", totals, balances and the officers'
    // names under their lines.
    void accountsOfAMonth()
    {
        Program p;
        p.parameter(ParameterCode::ChurchName, "IGREJA BATISTA CENTRAL");
        p.parameter(ParameterCode::CityState, "Campinas/SP");
        p.parameter(ParameterCode::Treasurer, "Maria Aparecida");
        p.parameter(ParameterCode::FiscalCouncil2, "José Carlos");
        p.book(1, 4, 2011, "ABRIL");
        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOATUAL = 1000 WHERE LIVCODIGO = 1");
        p.book(2, 5, 2011, "MAIO");
        p.movement(2, QDate(2011, 5, 2), 100, "ENTRADA", Ofertas);
        p.movement(2, QDate(2011, 5, 3), 250.5, "ENTRADA", Dizimos);
        p.movement(2, QDate(2011, 5, 4), 49.5, "ENTRADA", Dizimos);
        p.movement(2, QDate(2011, 5, 5), 20, "ENTRADA");
        p.movement(2, QDate(2011, 5, 6), 7, "ENTRADA", 99); // a category deleted since
        p.movement(2, QDate(2011, 5, 7), 80.25, "SAIDA", Energia);
        p.movement(2, QDate(2011, 5, 8), 500, "DOACAO", Dizimos); // of no known kind: counted nowhere
        p.movement(1, QDate(2011, 4, 8), 300, "ENTRADA", Dizimos); // another book

        const ReportRun run = accountsRun(p.menu, 2);
        QCOMPARE(run.pages().size(), 1);
        QCOMPARE(accountLines(run), (QStringList{"Saldo anterior | 1.000,00",
                                                 "",
                                                 "Entradas",
                                                 "DÍZIMOS | 2 | 300,00",
                                                 "OFERTAS | 1 | 100,00",
                                                 "Sem categoria | 2 | 27,00",
                                                 "Total das entradas | 427,00",
                                                 "",
                                                 "Saídas",
                                                 "ENERGIA ELÉTRICA | 1 | 80,25",
                                                 "Total das saídas | 80,25",
                                                 "",
                                                 "Saldo atual | 1.346,75"}));
        QCOMPARE(only(run, 0, "txtNomeDaIgreja"), QString("IGREJA BATISTA CENTRAL"));
        QCOMPARE(only(run, 0, "QRLabel1"), QString("Prestação de Contas do Mês"));
        QCOMPARE(only(run, 0, "txtLivro"), QString("LIVRO - Maio de 2011"));
        QCOMPARE(only(run, 0, QString("txtAssinatura%1").arg(ParameterCode::Treasurer).toLatin1()), QString("Maria Aparecida"));
        QCOMPARE(only(run, 0, QString("txtAssinatura%1").arg(ParameterCode::FiscalCouncil2).toLatin1()), QString("José Carlos"));
        QVERIFY(only(run, 0, QString("txtAssinatura%1").arg(ParameterCode::Pastor).toLatin1()).startsWith("____"));
        QVERIFY(only(run, 0, "txtLocalData").startsWith("Campinas/SP, ____ de"));
        QCOMPARE(run.texts(0, "txtFuncao").size(), 5);
        QVERIFY(p.fx.db.scalar("SELECT LIVSALDOATUAL FROM TLIVRO WHERE LIVCODIGO = 2").isNull()); // writes nothing

        // A book with nothing booked says so; on many pages only the last has the lines to sign.
        QCOMPARE(accountLines(accountsRun(p.menu, 1)).mid(2, 5),
                 (QStringList{"Entradas", "DÍZIMOS | 1 | 300,00", "Total das entradas | 300,00", "", "Saídas"}));
        p.book(3, 6, 2011, "JUNHO");
        const QStringList empty = accountLines(accountsRun(p.menu, 3));
        QVERIFY(empty.contains("Nenhuma entrada no mês") && empty.contains("Nenhuma saída no mês"));
        for (int c = 100; c < 190; ++c)
            p.fx.db.exec("INSERT INTO TCATEGORIA VALUES (?, ?, 'ENTRADA')", {c, QString("CATEGORIA %1").arg(c)});
        for (int c = 100; c < 190; ++c)
            p.movement(3, QDate(2011, 6, 1), 1, "ENTRADA", c);
        const ReportRun long_ = accountsRun(p.menu, 3);
        QVERIFY(long_.pages().size() >= 2);
        QVERIFY(long_.texts(0, "txtFuncao").isEmpty());
        QCOMPARE(long_.texts(int(long_.pages().size()) - 1, "txtFuncao").size(), 5);
        QCOMPARE(amountOn(accountLines(long_), "Total das entradas"), QString("90,00"));
    }

    // Over twelve chained months reported in order, each month's accounts
    // open and close on the balances of its cash book report, and its
    // categories add up to the report's entries and exits.
    void accountsCloseOnTheCashBooksBalance()
    {
        Program p;
        QRandomGenerator rng(2011);
        p.book(100, 12, 2010, "DEZEMBRO 2010");
        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOATUAL = 523.17 WHERE LIVCODIGO = 100");
        const QList<QVariant> categories{Dizimos, Ofertas, Missoes, Energia, Agua, QVariant()};
        for (int month = 1; month <= 12; ++month) {
            p.book(100 + month, month, 2011, QString("CAIXA %1/2011").arg(month));
            for (int i = 0; i < 45; ++i) {
                const bool entry = rng.bounded(3) != 0;
                p.movement(100 + month, QDate(2011, month, 1 + i % 28), rng.bounded(1, 300000) / 100.0,
                           entry ? "ENTRADA" : "SAIDA", categories[rng.bounded(int(categories.size()))]);
            }
        }
        for (int month = 1; month <= 12; ++month) {
            const ReportRun book = cashBookRun(p.menu, 100 + month); // stores the balances, as in daily use
            const int last = int(book.pages().size()) - 1;
            const QStringList accounts = accountLines(accountsRun(p.menu, 100 + month));
            QCOMPARE(amountOn(accounts, "Saldo anterior"), only(book, last, "txtSaldoAnterior"));
            QCOMPARE(amountOn(accounts, "Saldo atual"), only(book, last, "txtSaldoAtual"));
            QCOMPARE(amountOn(accounts, "Total das entradas"), only(book, last, "txtSubEntrada"));
            QCOMPARE(amountOn(accounts, "Total das saídas"), only(book, last, "txtSubSaida"));
        }
    }

    // From the cash book filter: the second button makes the chosen book's accounts.
    void accountsFromTheCashBookFilter()
    {
        Program p;
        p.book(1, 5, 2011, "CAIXA DE MAIO");
        p.movement(1, QDate(2011, 5, 2), 100, "ENTRADA", Dizimos);
        TFFLivro filter(p.menu);
        filter.show();
        QVERIFY(filter.btnPrestacao && filter.btnPrestacao->text() == "Prestação de Contas");
        Messages::Recorder messages;
        filter.btnPrestacao->click();
        QCOMPARE(messages.texts(), QStringList{"Escolha o livro caixa."});
        filter.DBLookupComboBox1->setCurrentIndex(0);
        emit filter.DBLookupComboBox1->activated(0);
        const ReportRun run = previewOpenedBy(filter.btnPrestacao);
        QCOMPARE(only(run, 0, "txtLivro"), QString("CAIXA DE MAIO - Maio de 2011"));
        QCOMPARE(amountOn(accountLines(run), "DÍZIMOS | 1"), QString("100,00"));
    }

    // Per member the gifts of the period and the member's total, the grand
    // total, then the members who gave nothing, by name.
    void tithersOfAPeriod()
    {
        Program p;
        p.member(1, "PEDRO ALVES");
        p.member(2, "ANA LIMA", "(19) 99999-1234");
        p.member(3, "ÉRICA SOUZA");
        p.member(4, "BRUNO DIAS");
        p.book(1, 5, 2011, "MAIO");
        p.movement(1, QDate(2011, 5, 8), 300, "ENTRADA", Dizimos, 1, "DÍZIMO", "ENV 1");
        p.movement(1, QDate(2011, 5, 1), 150.5, "ENTRADA", Dizimos, 1, "DÍZIMO");
        p.movement(1, QDate(2011, 4, 30), 999, "ENTRADA", Dizimos, 1); // before the period
        p.movement(1, QDate(2011, 5, 9), 50, "ENTRADA", Ofertas, 3, "OFERTA");
        p.movement(1, QDate(2011, 5, 9), 75, "ENTRADA", Dizimos, 4, "DÍZIMO");
        p.movement(1, QDate(2011, 5, 10), 40, "SAIDA", Dizimos, 2); // an exit is no gift
        p.movement(1, QDate(2011, 5, 11), 12, "ENTRADA", Dizimos, 77, "DÍZIMO"); // a member deleted since

        TFFDizimistas filter(p.menu);
        filter.show();
        QCOMPARE(filter.cmbCategoria->currentText(), QString("DÍZIMOS"));
        filter.txtDataInicial->setText("01/05/2011");
        filter.txtDataFinal->setText("31/05/2011");
        const QStringList elements{"txtDataOferta", "txtCategoria", "txtDocumento", "txtDescricao", "txtTelefones",
                                   "txtValor"};
        const ReportRun tithes = previewOpenedBy(filter.btnGerar);
        QCOMPARE(only(tithes, 0, "QRLabel2"), QString("Período de 01/05/2011 a 31/05/2011 - DÍZIMOS"));
        QCOMPARE(lines(tithes, elements),
                 (QStringList{"BRUNO DIAS",
                              "09/05/2011 | DÍZIMOS | DÍZIMO | 75,00",
                              "Total do membro (1 contribuição) | 75,00",
                              "Membro 77 (não cadastrado)",
                              "11/05/2011 | DÍZIMOS | DÍZIMO | 12,00",
                              "Total do membro (1 contribuição) | 12,00",
                              "PEDRO ALVES",
                              "01/05/2011 | DÍZIMOS | DÍZIMO | 150,50",
                              "08/05/2011 | DÍZIMOS | ENV 1 | DÍZIMO | 300,00",
                              "Total do membro (2 contribuições) | 450,50",
                              "",
                              "Total geral: 4 contribuições de 3 membros | 537,50",
                              "",
                              "Membros sem contribuição no período (2)",
                              "ANA LIMA | Cel. (19) 99999-1234",
                              "ÉRICA SOUZA"}));

        filter.cmbCategoria->setCurrentIndex(0); // every entry given by a member
        const QStringList every = lines(previewOpenedBy(filter.btnGerar), elements);
        QVERIFY(every.contains("ÉRICA SOUZA") && every.contains("09/05/2011 | OFERTAS | OFERTA | 50,00"));
        QVERIFY(every.contains("Total geral: 5 contribuições de 4 membros | 587,50"));
        QVERIFY(every.contains("Membros sem contribuição no período (1)"));

        Messages::Recorder messages;
        filter.txtDataFinal->setText("01/04/2011");
        filter.btnGerar->click();
        QCOMPARE(messages.texts(), QStringList{"A data final do período é anterior à inicial."});
    }

    // A receipt for a gift: the giver, the amount in figures and in words,
    // what it refers to, the date, the number, two copies; made from the
    // movements window for an entry with its member only.
    void receiptOfAGift()
    {
        Program p;
        p.parameter(ParameterCode::ChurchName, "IGREJA BATISTA CENTRAL");
        p.parameter(ParameterCode::CityState, "Campinas/SP");
        p.parameter(ParameterCode::Treasurer, "Maria Aparecida");
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMCPF) VALUES (1, 'JOÃO DA SILVA', '123-456-789-09')");
        p.book(1, 5, 2011, "MAIO");
        p.movement(1, QDate(2011, 5, 12), 120.5, "ENTRADA", Dizimos, 1, "DÍZIMO DE MAIO", "ENV 77");
        p.movement(1, QDate(2011, 5, 13), 30, "ENTRADA", Ofertas);
        p.movement(1, QDate(2011, 5, 14), 30, "SAIDA", Agua, 1);

        auto w = p.open<TFMovimentacoes>();
        QVERIFY(w->btnRecibo);
        DM->TBMOVIMENTACOES->first();
        QVERIFY(w->btnRecibo->isEnabled());
        const ReportRun run = previewOpenedBy(w->btnRecibo);
        QCOMPARE(run.pages().size(), 1);
        for (const char *copy : {"1", "2"}) {
            const auto text = [&](const char *name) { return only(run, 0, (QByteArray(name) + copy).constData()); };
            QCOMPARE(text("txtValor"), QString("R$\u00a0120,50"));
            QCOMPARE(text("txtNumero"), QString("Nº ENV 77"));
            QCOMPARE(text("txtTexto"),
                     QString("Recebemos de JOÃO DA SILVA, CPF 123.456.789-09, a importância de R$\u00a0120,50 (cento e "
                             "vinte reais e cinquenta centavos), referente a DÍZIMOS: DÍZIMO DE MAIO."));
            QCOMPARE(text("txtLocalData"), QString("Campinas/SP, 12 de maio de 2011."));
            QCOMPARE(text("txtNomeDaIgreja"), QString("IGREJA BATISTA CENTRAL"));
        }
        QCOMPARE(run.texts(0, QString("txtAssinatura%1").arg(ParameterCode::Treasurer)),
                 (QStringList{"Maria Aparecida", "Maria Aparecida"}));

        DM->TBMOVIMENTACOES->next(); // no member
        QVERIFY(!w->btnRecibo->isEnabled());
        DM->TBMOVIMENTACOES->next(); // an exit
        QVERIFY(!w->btnRecibo->isEnabled());
        DM->TBMOVIMENTACOES->first();
        w->btnAlterar->click(); // not while a movement is edited
        QVERIFY(!w->btnRecibo->isEnabled());
        w->btnCancelar->click();
        QVERIFY(w->btnRecibo->isEnabled());
    }

    // Below the chart of the year summary: the year's entries and exits by
    // category, the largest first, the rest summed on the last line.
    void yearSummaryByCategory()
    {
        Program p;
        p.book(1, 1, 2011, "JANEIRO");
        p.book(2, 2, 2011, "FEVEREIRO");
        p.book(3, 2, 2011, "FEVEREIRO DE NOVO"); // a second book of a month is not counted, as in the table
        p.book(4, 1, 2012, "JANEIRO 2012");
        p.movement(1, QDate(2011, 1, 5), 100, "ENTRADA", Ofertas);
        p.movement(2, QDate(2011, 2, 5), 400, "ENTRADA", Dizimos);
        p.movement(2, QDate(2011, 2, 6), 25, "ENTRADA");
        p.movement(3, QDate(2011, 2, 7), 5000, "ENTRADA", Missoes);
        p.movement(4, QDate(2012, 1, 7), 7000, "ENTRADA", Missoes);
        p.movement(1, QDate(2011, 1, 9), 60, "SAIDA", Agua);
        for (int c = 0; c < 12; ++c) {
            p.fx.db.exec("INSERT INTO TCATEGORIA VALUES (?, ?, 'SAIDA')", {200 + c, QString("DESPESA %1").arg(c)});
            p.movement(2, QDate(2011, 2, 10), 10 + c, "SAIDA", 200 + c);
        }
        TFRResumoAnual report(p.menu);
        report.setYear(2011);
        const ReportRun run = report.QuickRep1->run();
        QCOMPARE(run.pages().size(), 1);
        QStringList entries, exits;
        for (int line = 0; line < YearCategories::kLines; ++line) {
            entries << run.texts(0, QString("txtCategoriasEntradasNome%1").arg(line)).join("")
                           + " " + run.texts(0, QString("txtCategoriasEntradasValor%1").arg(line)).join("");
            exits << run.texts(0, QString("txtCategoriasSaidasNome%1").arg(line)).join("") + " "
                         + run.texts(0, QString("txtCategoriasSaidasValor%1").arg(line)).join("");
        }
        QCOMPARE(entries.mid(0, 4), (QStringList{"DÍZIMOS 400,00", "OFERTAS 100,00", "Sem categoria 25,00", " "}));
        QCOMPARE(exits.first(), QString("ÁGUA E ESGOTO 60,00"));
        QCOMPARE(exits.at(1), QString("DESPESA 11 21,00"));
        // 13 categories of exits: 8 shown, the last 5 (10 to 14) summed.
        QCOMPARE(exits.last(), QString("Demais categorias (5) 60,00"));
        QVERIFY(!run.texts(0, "txtCategoriasTitulo").isEmpty());
    }

    // A database of the first level: no accounts button, no categories
    // below the year's chart, no category commands, no receipt.
    void firstLevelShowsNoneOfIt()
    {
        Program p;
        p.firstLevel();
        p.book(1, 1, 2011, "JANEIRO");
        p.fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA) "
                     "VALUES (1, 'OFERTA', 1, 10, 'ENTRADA', '2011-01-05')");
        TFFLivro filter(p.menu);
        QVERIFY(!filter.btnPrestacao);
        TFRResumoAnual report(p.menu);
        report.setYear(2011);
        const ReportRun run = report.QuickRep1->run();
        QVERIFY(run.texts(0, "txtCategoriasTitulo").isEmpty());
        QCOMPARE(only(run, 0, "txtTotalEntradas"), QString("10,00"));
        p.menu->show();
        QVERIFY(!p.menu->Categorias1->isVisible() && !p.menu->Dizimistas1->isVisible());
        auto w = p.open<TFMovimentacoes>();
        QVERIFY(!w->btnRecibo && !w->DBLookupComboBox2 && !w->DBEdit5);
        QCOMPARE(DM->TBMOVIMENTACOES->recordCount(), 1);
    }
};

QTEST_MAIN(TestCategoryReports)
#include "tst_categoryreports.moc"
