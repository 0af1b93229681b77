// The bank statement against a month's book: the match proposed for each
// line (same kind and value, date within 3 days, not matched yet, each
// movement to one line), the category proposed from the last movement of
// the same description, the lines of other months apart, the second import
// of a file and an overlapping statement bringing only new lines, the import
// in one transaction, and the window "Extrato Bancário" opened from
// "Movimentações de Caixa" with the movements conferred shown in its grid.
#include "RegisterFixture.h"

#include "cashbook/Reconciliation.h"
#include "cashbook/UExtrato.h"
#include "cashbook/UMovimentacoes.h"
#include "controls/DBGrid.h"
#include "controls/DatasetModel.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "uikit/Messages.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QScopeGuard>
#include <QtTest>

namespace {

using Reconciliation::Decision;
using Kind = Reconciliation::Decision::Kind;

// A line of a statement: its day of May 2011 (or "dd/MM" of another month),
// amount, description and FITID.
struct Posting
{
    QString day;
    QString amount;
    QString memo;
    QString fitId;
};

// An OFX file of the account 341/12/9 in SGML, as banks write it.
QByteArray ofx(const QList<Posting> &postings, const QString &ledger = "1000,00")
{
    QByteArray body = "OFXHEADER:100\r\nDATA:OFXSGML\r\nCHARSET:1252\r\n\r\n<OFX>\r\n<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n"
                      "<STMTRS>\r\n<BANKACCTFROM>\r\n<BANKID>341\r\n<BRANCHID>12\r\n<ACCTID>9\r\n</BANKACCTFROM>\r\n"
                      "<BANKTRANLIST>\r\n<DTSTART>20110501\r\n<DTEND>20110531\r\n";
    for (const Posting &p : postings) {
        const QString date = p.day.contains('/') ? "2011" + p.day.mid(3, 2) + p.day.left(2) : "201105" + p.day;
        body += "<STMTTRN>\r\n<TRNTYPE>OTHER\r\n<DTPOSTED>" + date.toLatin1() + "000000[-3:BRT]\r\n<TRNAMT>"
                + p.amount.toLatin1() + "\r\n<FITID>" + p.fitId.toLatin1() + "\r\n<MEMO>" + p.memo.toLatin1()
                + "\r\n</STMTTRN>\r\n";
    }
    return body + "</BANKTRANLIST>\r\n<LEDGERBAL>\r\n<BALAMT>" + ledger.toLatin1()
           + "\r\n<DTASOF>20110520\r\n</LEDGERBAL>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";
}

Ofx::Statement statementOf(const QList<Posting> &postings)
{
    return Ofx::read(ofx(postings)).value(0);
}

struct Program : SignedInProgram
{
    explicit Program(Profile profile = Profile::Administrador) : SignedInProgram(profile)
    {
        // The book of May 2011, its month before closing with 100,00.
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO, LIVSALDOATUAL) "
                   "VALUES (1, 4, 'Abril', 2011, 'ABRIL 2011', 100)");
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO) "
                   "VALUES (2, 5, 'Maio', 2011, 'MAIO 2011')");
        DM->TBLIVRO->open();
    }
    // A movement "dd value KIND" of May's book.
    void movement(int code, int day, double value, const QString &kind, const QString &description = "X",
                  const QVariant &category = {}, int book = 2)
    {
        fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA, "
                   "MOVCATEGORIA) VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {code, description, book, value, kind, QDate(2011, book == 2 ? 5 : 4, day), category});
    }
    QList<QVariantList> lines()
    {
        return fx.db.rows("SELECT EXTIDENTIDADE, EXTSITUACAO, COALESCE(EXTMOVIMENTO, 0) FROM TEXTRATO ORDER BY EXTCODIGO");
    }
    int count(const QString &table) { return fx.db.scalar("SELECT COUNT(*) FROM " + table).toInt(); }
};

// What each line is proposed: "movement/candidates", "-/0" for none.
QStringList proposals(const Reconciliation::Plan &plan)
{
    QStringList out;
    for (const Reconciliation::Proposal &p : plan.lines)
        out << (p.match ? QString::number(*p.match) : QString("-")) + "/" + QString::number(p.candidates);
    return out;
}

QList<Decision> decide(const QList<Decision> &d) { return d; }

} // namespace

class TestExtrato : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void matching_data()
    {
        QTest::addColumn<QList<Posting>>("postings");
        QTest::addColumn<QStringList>("expected");
        // The book: 1: 10/05 SAIDA 120; 2: 13/05 ENTRADA 300; 3: 20/05 SAIDA 50; 4: 21/05 SAIDA 50;
        // 5: 25/05 SAIDA 80, already conferred with a line of an earlier import.
        QTest::newRow("exact") << QList<Posting>{{"10", "-120,00", "TARIFA", "A"}} << QStringList{"1/1"};
        QTest::newRow("three days") << QList<Posting>{{"10", "300.00", "PIX", "A"}} << QStringList{"2/1"};
        QTest::newRow("four days") << QList<Posting>{{"09", "300.00", "PIX", "A"}} << QStringList{"-/0"};
        QTest::newRow("other kind") << QList<Posting>{{"10", "120.00", "ESTORNO", "A"}} << QStringList{"-/0"};
        QTest::newRow("other value") << QList<Posting>{{"10", "-120.01", "TARIFA", "A"}} << QStringList{"-/0"};
        QTest::newRow("two candidates") << QList<Posting>{{"22", "-50", "BOLETO", "A"}, {"19", "-50", "BOLETO", "B"}}
                                        << QStringList{"3/2", "4/2"};
        QTest::newRow("one movement, two lines")
            << QList<Posting>{{"10", "-120,00", "TARIFA", "A"}, {"11", "-120,00", "TARIFA", "B"}}
            << QStringList{"1/1", "-/1"};
        QTest::newRow("already matched") << QList<Posting>{{"25", "-80", "LUZ", "A"}} << QStringList{"-/0"};
    }

    void matching()
    {
        QFETCH(QList<Posting>, postings);
        QFETCH(QStringList, expected);
        Program p;
        p.movement(1, 10, 120, "SAIDA");
        p.movement(2, 13, 300, "ENTRADA");
        p.movement(3, 20, 50, "SAIDA");
        p.movement(4, 21, 50, "SAIDA");
        p.movement(5, 25, 80, "SAIDA");
        p.fx.db.exec("INSERT INTO TEXTRATO (EXTCODIGO, EXTCONTA, EXTIDENTIDADE, EXTSITUACAO, EXTMOVIMENTO) "
                     "VALUES (1, '341 12 9', 'F OUTRO', 'CONFERIDO', 5)");
        QCOMPARE(proposals(Reconciliation::plan(statementOf(postings), 2)), expected);
    }

    // Lines confered, launched with their category, ignored and left for
    // later; the balance of the book on the statement's day; a second
    // import of the same file proposes nothing, an overlapping one only its
    // new lines; a line of another month is never imported into this book.
    void importsEachLineOnce()
    {
        Program p;
        p.movement(1, 10, 120, "SAIDA");
        p.movement(9, 28, 55.3, "SAIDA", "CONTA DE LUZ", 8, 1); // April's: the category used last time
        const QList<Posting> first{{"10", "-120,00", "TARIFA", "T1"},
                                   {"12", "-55,30", "Conta de luz", "000000"},
                                   {"15", "200,00", "Oferta", ""},
                                   {"18", "-9,90", "IOF", "T4"},
                                   {"19", "-1,00", "Juros", "T5"},
                                   {"30/04", "7,00", "Do mês anterior", "T0"}};
        Reconciliation::Plan plan = Reconciliation::plan(statementOf(first), 2);
        QCOMPARE(plan.lines.size(), 5);
        QCOMPARE(plan.outside.size(), 1);
        QCOMPARE(plan.outside[0].description, QString("Do mês anterior"));
        QCOMPARE(proposals(plan), (QStringList{"1/1", "-/0", "-/0", "-/0", "-/0"}));
        QCOMPARE(plan.lines[1].category, QVariant(8));
        QVERIFY(plan.lines[2].category.isNull());
        QCOMPARE(*plan.bookBalance, 100 - 120.0); // April's balance, then May up to the 20th
        QCOMPARE(Reconciliation::apply(plan, {{Kind::Match, 1, {}}, {Kind::Create, 0, 8}, {Kind::Create, 0, 1},
                                              {Kind::Ignore, 0, {}}, {Kind::Later, 0, {}}}),
                 4);
        QCOMPARE(p.lines(), (QList<QVariantList>{{"F T1", "CONFERIDO", 1},
                                                 {"D 20110512 -5530 CONTA DE LUZ", "LANÇADO", 10},
                                                 {"D 20110515 20000 OFERTA", "LANÇADO", 11},
                                                 {"F T4", "IGNORADO", 0}}));
        QCOMPARE(p.fx.db.rows("SELECT MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA, MOVCATEGORIA "
                              "FROM TMOVIMETACOES WHERE MOVCODIGO > 9 ORDER BY 1"),
                 (QList<QVariantList>{{10, "CONTA DE LUZ", 2, 55.3, "SAIDA", QDate(2011, 5, 12), 8},
                                      {11, "OFERTA", 2, 200.0, "ENTRADA", QDate(2011, 5, 15), 1}}));
        QCOMPARE(Reconciliation::reconciledMovements(), (QSet<int>{1, 10, 11}));

        plan = Reconciliation::plan(statementOf(first), 2);
        QCOMPARE(plan.alreadyImported, 4);
        QCOMPARE(plan.lines.size(), 1); // the line left for later comes again
        QCOMPARE(plan.lines[0].line.description, QString("Juros"));
        QCOMPARE(*plan.bookBalance, 100 - 120.0 - 55.3 + 200);

        const QList<Posting> overlapping{{"15", "200,00", "Oferta", ""}, {"18", "-9,90", "IOF", "T4"},
                                         {"22", "-3,00", "Tarifa", "T6"}};
        plan = Reconciliation::plan(statementOf(overlapping), 2);
        QCOMPARE(plan.alreadyImported, 2);
        QCOMPARE(plan.lines.size(), 1);
        QCOMPARE(plan.lines[0].line.identity, QString("F T6"));
    }

    // A failure half-way, the engine's (another workstation imported a line
    // meanwhile) or any other, writes nothing; nor does a closed month.
    void aFailureHalfWayWritesNothing()
    {
        Program p;
        const QList<Posting> postings{{"10", "-1", "A", "T1"}, {"11", "-2", "B", "T2"}, {"12", "-3", "C", "T3"}};
        const Reconciliation::Plan plan = Reconciliation::plan(statementOf(postings), 2);
        const QList<Decision> all{{Kind::Create, 0, {}}, {Kind::Create, 0, {}}, {Kind::Ignore, 0, {}}};
        const QString failed = dbErrorOf([&] {
            Reconciliation::apply(plan, all, [](int line) {
                if (line == 1)
                    throw DbError("falha provocada");
            });
        });
        QCOMPARE(failed, QString("falha provocada"));
        QCOMPARE(p.count("TMOVIMETACOES") + p.count("TEXTRATO"), 0);

        p.fx.db.exec("INSERT INTO TEXTRATO (EXTCODIGO, EXTCONTA, EXTIDENTIDADE) VALUES (50, '341 12 9', 'F T3')");
        QVERIFY(!dbErrorOf([&] { Reconciliation::apply(plan, all); }).isEmpty());
        QCOMPARE(p.count("TMOVIMETACOES"), 0);
        QCOMPARE(p.count("TEXTRATO"), 1);

        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOANTERIOR = 100, LIVSALDOATUAL = 100, LIVFECHADOEM = '2011-06-01' "
                     "WHERE LIVCODIGO = 1");
        p.fx.db.exec("UPDATE TLIVRO SET LIVSALDOANTERIOR = 100, LIVSALDOATUAL = 100, LIVFECHADOEM = '2011-06-01' "
                     "WHERE LIVCODIGO = 2");
        DM->TBLIVRO->close();
        const QString closed = dbErrorOf([&] { Reconciliation::apply(plan, decide({{Kind::Create, 0, {}}, {}, {}})); });
        QVERIFY2(closed.contains("está fechado"), qPrintable(closed));
        QCOMPARE(p.count("TMOVIMETACOES"), 0);
    }

    // As the treasurer does it: "Importar Extrato", the file, the window
    // with the account, the period, the lines and the balances; a line
    // launched with a category; "Importar"; the grid says "CONFERIDO".
    // "Cancelar" writes nothing; a bad file is said and opens nothing.
    void theWindowFromTheMovements()
    {
        Program p(Profile::Tesouraria);
        p.movement(1, 10, 120, "SAIDA", "TARIFA BANCO");
        QTemporaryDir folder;
        const QString path = folder.filePath("extrato.ofx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ofx({{"10", "-120,00", "TARIFA", "T1"}, {"15", "250,00", "DÍZIMO", "T2"},
                        {"02/06", "-5,00", "JUNHO", "T3"}}, "300,00"));
        file.close();
        auto w = p.open<TFMovimentacoes>();
        QVERIFY(w->btnImportarExtrato && w->btnImportarExtrato->isEnabled());

        QString account, period, balances;
        int rows = -1, outside = -1;
        TFMovimentacoes::chooseStatementFile = [&path](QWidget *) { return path; };
        const auto dialogBack =
            qScopeGuard([] { TFMovimentacoes::chooseStatementFile = &TFMovimentacoes::statementFileDialog; });
        for (bool import : {false, true}) {
            whenModalOpens([&](QWidget *window) {
                auto *extrato = qobject_cast<TFExtrato *>(window);
                QVERIFY(extrato);
                account = extrato->lblConta->text();
                period = extrato->lblPeriodo->text();
                rows = extrato->grdLinhas->rowCount();
                outside = extrato->grdForaDoMes->rowCount();
                extrato->actionBox(1)->setCurrentIndex(int(TFExtrato::Action::Create));
                extrato->categoryBox(1)->setCurrentIndex(extrato->categoryBox(1)->findText("DÍZIMOS"));
                balances = QStringList{extrato->lblSaldoExtrato->text(), extrato->lblSaldoLivro->text(),
                                       extrato->lblDiferenca->text()}.join(" ; ").replace(QChar(0xA0), u' ');
                (import ? extrato->btnImportar : extrato->btnCancelar)->click();
            });
            Messages::Recorder messages;
            w->btnImportarExtrato->click();
            QCOMPARE(p.count("TEXTRATO"), import ? 2 : 0);
        }
        QCOMPARE(account, QString("BANCO 341 · AG 12 · CC 9"));
        QCOMPARE(period, QString("PERÍODO: 01/05/2011 a 31/05/2011"));
        QCOMPARE(rows, 2);
        QCOMPARE(outside, 1);
        QCOMPARE(balances, QString("SALDO DO EXTRATO EM 20/05/2011: R$ 300,00 ; SALDO DO LIVRO NESSA DATA: R$ 230,00 ; "
                                   "DIFERENÇA: R$ 70,00"));
        QCOMPARE(p.fx.db.rows("SELECT MOVDESCRICAO, MOVVALOR, C.CATDESCRICAO FROM TMOVIMETACOES M JOIN TCATEGORIA C ON "
                              "C.CATCODIGO = M.MOVCATEGORIA"),
                 (QList<QVariantList>{{"DÍZIMO", 250.0, "DÍZIMOS"}}));

        DatasetModel *grid = w->DBGrid1->datasetModel();
        QStringList conferred;
        for (int row = 0; row < grid->rowCount(); ++row)
            conferred << grid->index(row, 1).data().toString() + "=" + grid->index(row, grid->columnCount() - 1).data().toString();
        conferred.sort();
        QCOMPARE(conferred, (QStringList{"DÍZIMO=CONFERIDO", "TARIFA BANCO=CONFERIDO"}));
        QCOMPARE(grid->headerData(grid->columnCount() - 1, Qt::Horizontal).toString(), QString("CONFERÊNCIA"));

        file.open(QIODevice::WriteOnly);
        file.write(ofx({{"10", "12,3x", "TARIFA", "T9"}}));
        file.close();
        Messages::Recorder messages;
        const QString bad = dbErrorOf([&] { w->openStatement(path); });
        QVERIFY2(bad.startsWith("Linha 20 do arquivo: o valor \"12,3x\""), qPrintable(bad));
        QCOMPARE(p.count("TEXTRATO"), 2);
    }
};

QTEST_MAIN(TestExtrato)
#include "tst_extrato.moc"
