// A treasurer's two months of the cash book, from signing in to the report
// of June that starts from what May's report left on May's book.
#include "EndToEnd.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "controls/DBEdit.h"
#include "controls/DBRadioGroup.h"
#include "main/UParamentros.h"
#include "reports/caixa/UFLivro.h"

#include <QRadioButton>

namespace {

struct Movement
{
    QString description;
    QDate day;
    double amount;
    QString kind;
};

QString amountText(double amount) { return QLocale().toString(amount, 'f', 2); }

double total(const QList<Movement> &movements, const QString &kind)
{
    double sum = 0;
    for (const Movement &m : movements)
        if (m.kind == kind)
            sum += m.amount;
    return sum;
}

// Sums the amounts written in the report's lines.
double sumOf(const QStringList &amounts)
{
    double sum = 0;
    for (const QString &amount : amounts)
        sum += amount.isEmpty() ? 0 : QLocale().toDouble(amount);
    return sum;
}

// A busy May: more movements than one page holds, entries and exits mixed,
// typed in no particular order of dates.
QList<Movement> mayMovements()
{
    QList<Movement> movements;
    for (int i = 0; i < 38; ++i) {
        const bool exit = i % 3 == 2;
        movements << Movement{QString(exit ? "DESPESA %1" : "OFERTA %1").arg(i + 1), QDate(2011, 5, 1 + (i * 7) % 31),
                              20.25 + i, exit ? "SAIDA" : "ENTRADA"};
    }
    return movements;
}

// The treasurer at work in the main window.
struct Treasurer : RunningProgram
{
    TFMenu *menu = nullptr;

    void setChurchName(const QString &name)
    {
        drive<TFParamentros>([&] { menu->Parametros->trigger(); }, [&](TFParamentros *w) {
            QTest::mouseClick(w->btnNovo, Qt::LeftButton);
            QCOMPARE(w->DBEdit1->text(), "1");
            QTest::keyClicks(w->DBEdit2, name);
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
    }

    // Creates a book in the cash book register; the month name it showed.
    QString addBook(int month, int year, const QString &description)
    {
        QString monthName;
        drive<TFLivroCaixa>([&] { menu->CadastrodoLivroCaixadoMs1->trigger(); }, [&](TFLivroCaixa *w) {
            QCOMPARE(w->windowTitle(), "Cadastro do Livro Caixa do Mês");
            QTest::mouseClick(w->btnNovo, Qt::LeftButton);
            QCOMPARE(w->focusWidget(), w->DBEdit2);
            QTest::keyClicks(w->DBEdit2, QString::number(month));
            QTest::keyClick(w->DBEdit2, Qt::Key_Return);
            monthName = w->DBEdit3->text();
            QTest::keyClicks(w->DBEdit4, QString::number(year));
            QTest::keyClick(w->DBEdit4, Qt::Key_Return);
            QTest::keyClicks(w->DBEdit5, description.toLower()); // the box writes capitals
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            QVERIFY(w->btnNovo->isEnabled());
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        return monthName;
    }

    void bookMovements(const QString &book, const QList<Movement> &movements)
    {
        drive<TFMovimentacoes>([&] { QTest::mouseClick(menu->SpeedButton2, Qt::LeftButton); },
                               [&](TFMovimentacoes *w) {
                                   for (const Movement &m : movements)
                                       bookMovement(w, book, m);
                                   QTest::mouseClick(w->btnSair, Qt::LeftButton);
                               });
    }

    // Chooses the book in the report filter and previews its report.
    ReportRun report(const QString &book, QStringList *monthAndYear)
    {
        ReportRun run;
        drive<TFFLivro>([&] { QTest::mouseClick(menu->btnLivro, Qt::LeftButton); }, [&](TFFLivro *w) {
            QVERIFY(chooseInList(w->DBLookupComboBox1, book));
            QTest::keyClick(w->DBLookupComboBox1, Qt::Key_Tab);
            *monthAndYear = {w->txtMes->text(), w->txtAno->text()};
            run = previewOf(w->btnGerar);
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        return run;
    }

    QVariant stored(const char *column, const QString &book)
    {
        return fx.db.scalar(QString("SELECT %1 FROM TLIVRO WHERE LIVDESCRICAO = ?").arg(column), {book});
    }

private:
    static void bookMovement(TFMovimentacoes *w, const QString &book, const Movement &m)
    {
        QTest::mouseClick(w->btnNovo, Qt::LeftButton);
        QTest::keyClicks(w->DBEdit2, m.description);
        QVERIFY(chooseInList(w->DBLookupComboBox1, book));
        w->DBEdit4->setFocus();
        QTest::keyClicks(w->DBEdit4, amountText(m.amount));
        QTest::keyClick(w->DBEdit4, Qt::Key_Return);
        QTest::keyClicks(w->DBEdit6, m.day.toString("ddMMyyyy"));
        QTest::mouseClick(w->DBRadioGroup1->button(m.kind == "ENTRADA" ? 0 : 1), Qt::LeftButton);
        QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
        QVERIFY2(w->btnNovo->isEnabled(), qPrintable(m.description + " not saved"));
    }
};

} // namespace

class TestMesDeCaixa : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void mayIsReportedAndJuneStartsFromIt()
    {
        Treasurer t;
        t.menu = t.signIn("master", "ravlen");
        QVERIFY(t.menu);
        QCOMPARE(t.menu->windowTitle(), "KELMARA");
        t.setChurchName("Igreja Batista Central");

        QCOMPARE(t.addBook(5, 2011, "CAIXA DE MAIO"), "Maio");
        const QList<Movement> may = mayMovements();
        t.bookMovements("CAIXA DE MAIO", may);
        QCOMPARE(t.fx.db.scalar("SELECT COUNT(*) FROM TMOVIMETACOES WHERE MOVLIVRO = 1").toInt(), may.size());
        QCOMPARE(t.fx.db.scalar("SELECT SUM(MOVVALOR) FROM TMOVIMETACOES WHERE MOVDEBITOCREDITO = 'SAIDA'").toDouble(),
                 total(may, "SAIDA"));

        QStringList monthAndYear;
        const ReportRun mayRun = t.report("CAIXA DE MAIO", &monthAndYear);
        QCOMPARE(monthAndYear, (QStringList{"Maio", "2011"}));
        QCOMPARE(mayRun.pages().size(), 2);
        QCOMPARE(textOf(mayRun, 0, "txtNomeDaIgreja"), "Igreja Batista Central");
        QCOMPARE(textOf(mayRun, 0, "txtMes"), "CAIXA DE MAIO");
        QCOMPARE(textOf(mayRun, 0, "QRLabel8"), "Transporte mês anterior");
        QCOMPARE(textOf(mayRun, 0, "txtTransporte"), "0,00"); // no April book

        // Every movement once, in date order, across the two pages.
        QList<QDate> days;
        for (const Movement &m : may)
            days << m.day;
        std::sort(days.begin(), days.end());
        QStringList expectedDays;
        for (const QDate &day : days)
            expectedDays << day.toString("dd/MM");
        QCOMPARE(mayRun.texts(0, "txtData") + mayRun.texts(1, "txtData"), expectedDays);

        // Page 1 carries its own lines; page 2 starts from them.
        const double firstEntries = sumOf(mayRun.texts(0, "txtEntrada"));
        const double firstExits = sumOf(mayRun.texts(0, "txtSaidas"));
        QCOMPARE(textOf(mayRun, 0, "txtSubEntrada"), amountText(firstEntries));
        QCOMPARE(textOf(mayRun, 0, "txtSubSaida"), amountText(firstExits));
        QCOMPARE(textOf(mayRun, 1, "QRLabel8"), "Transporte");
        QCOMPARE(textOf(mayRun, 1, "txtTransEntradas"), amountText(firstEntries));
        QCOMPARE(textOf(mayRun, 1, "txtTransSaidas"), amountText(firstExits));

        // The closing box on the last page only.
        const double entries = total(may, "ENTRADA");
        const double exits = total(may, "SAIDA");
        QCOMPARE(mayRun.findItem(0, "FiguraTotalizador1")->colour, QColor(Qt::white));
        QCOMPARE(mayRun.findItem(1, "FiguraTotalizador1")->colour, QColor(Qt::black));
        QCOMPARE(textOf(mayRun, 1, "txtSubEntrada"), amountText(entries));
        QCOMPARE(textOf(mayRun, 1, "txtSubSaida"), amountText(exits));
        QCOMPARE(textOf(mayRun, 1, "txtSaldoAnterior"), "0,00");
        QCOMPARE(textOf(mayRun, 1, "txtSaldoAtual"), amountText(entries - exits));
        QCOMPARE(textOf(mayRun, 1, "txtConferencia1"), amountText(entries));
        QCOMPARE(textOf(mayRun, 1, "txtConferencia2"), amountText(entries));
        QCOMPARE(t.stored("LIVNOMEMES", "CAIXA DE MAIO").toString(), "Maio");
        QCOMPARE(t.stored("LIVSALDOANTERIOR", "CAIXA DE MAIO").toDouble(), 0.0);
        QCOMPARE(t.stored("LIVSALDOATUAL", "CAIXA DE MAIO").toDouble(), entries - exits);

        // June opens with May's current balance.
        QCOMPARE(t.addBook(6, 2011, "CAIXA DE JUNHO"), "Junho");
        const QList<Movement> june{{"ALUGUEL", QDate(2011, 6, 10), 300, "SAIDA"},
                                   {"DIZIMOS", QDate(2011, 6, 5), 120.5, "ENTRADA"}};
        t.bookMovements("CAIXA DE JUNHO", june);
        const ReportRun juneRun = t.report("CAIXA DE JUNHO", &monthAndYear);
        QCOMPARE(monthAndYear, (QStringList{"Junho", "2011"}));
        const double mayBalance = t.stored("LIVSALDOATUAL", "CAIXA DE MAIO").toDouble();
        QCOMPARE(juneRun.pages().size(), 1);
        QCOMPARE(textOf(juneRun, 0, "txtMes"), "CAIXA DE JUNHO");
        QCOMPARE(textOf(juneRun, 0, "txtTransporte"), amountText(mayBalance));
        QCOMPARE(juneRun.texts(0, "QRDBText2"), (QStringList{"DIZIMOS", "ALUGUEL"}));
        QCOMPARE(textOf(juneRun, 0, "txtSaldoAnterior"), amountText(mayBalance));
        QCOMPARE(textOf(juneRun, 0, "txtSaldoAtual"), amountText(mayBalance + 120.5 - 300));
        QCOMPARE(t.stored("LIVSALDOANTERIOR", "CAIXA DE JUNHO").toDouble(), mayBalance);
        QCOMPARE(t.stored("LIVSALDOATUAL", "CAIXA DE JUNHO").toDouble(), mayBalance + 120.5 - 300);
        QVERIFY(t.messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestMesDeCaixa)
#include "tst_mesdecaixa.moc"
