// "Histórico de Alterações": its filters (period, account, register, code)
// over a log written by the program, a second workstation and a database
// tool; the grid newest first; "Imprimir" through the preview and
// "Exportar" of what the grid shows; a register's "Histórico" on its current
// record; who sees it.
#include "RegisterFixture.h"

#include "datamodule/ChangeLog.h"
#include "history/UHistorico.h"
#include "recordform/RecordForm.h"
#include "registers/UMembro.h"
#include "reports/engine/PrintPreview.h"
#include "reports/engine/ReportRun.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kLongAddress = "RUA DOS ANDRADAS, 1234, APARTAMENTO 501, BLOCO B, CENTRO HISTÓRICO";

// The program signed in as master, which includes member 1 and changes it;
// a second workstation, as joao, includes position 1; a database tool then
// changes that position.
struct LoggedProgram : SignedInProgram
{
    explicit LoggedProgram(Profile profile = Profile::Administrador) : SignedInProgram(profile)
    {
        TableDataset *members = DM->TBMEMBRO;
        members->open();
        members->insert();
        DM->TBMEMBROMEMCODIGO->setAsInteger(1);
        DM->TBMEMBROMEMNOME->setAsString("ANA");
        members->post();
        members->edit();
        DM->TBMEMBROMEMENDERECO->setAsString(kLongAddress);
        DM->TBMEMBROMEMNOMEMAE->setAsString(kLongAddress);
        members->post();
        members->applyUpdates(0);
        members->edit();
        DM->TBMEMBROMEMNOME->setAsString("ANA MARIA");
        members->post();
        members->applyUpdates(0);
        {
            const std::unique_ptr<TDM> second = fx.db.connect("segunda");
            ChangeLog::tellSession(second->SQLConnection1(), "joao", "TESOURARIA-2");
            second->TBCARGO->open();
            second->TBCARGO->insert();
            second->TBCARGOCARCODIGO->setAsInteger(1);
            second->TBCARGOCARDESCRICAO->setAsString("PASTOR");
            second->TBCARGO->post();
            second->TBCARGO->applyUpdates(0);
        }
        fx.db.exec("UPDATE TCARGO SET CARSALARIO = 1500 WHERE CARCODIGO = 1");
    }
};

// Each line the grid shows: operation, register, code, account.
QStringList gridLines(const TFHistorico &w)
{
    const QAbstractItemModel *m = w.gridAlteracoes->model();
    QStringList lines;
    for (int row = 0; row < m->rowCount(); ++row)
        lines << QStringList{m->index(row, 5).data().toString(), m->index(row, 3).data().toString(),
                             m->index(row, 4).data().toString(), m->index(row, 1).data().toString()}
                     .join(" | ");
    return lines;
}

void typeDate(QLineEdit *box, const QDate &date)
{
    box->clear();
    if (date.isValid())
        box->setText(date.toString("dd/MM/yyyy"));
}

} // namespace

class TestHistorico : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        setUpTestProgram();
    }

    void filters_data()
    {
        QTest::addColumn<int>("fromDay"); // days from today; 99: open
        QTest::addColumn<int>("toDay");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("register_");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("um cadastro") << 0 << 0 << "(todas)" << "Membros" << ""
                                     << QStringList{"ALTERAÇÃO | Membros | 1 | master", "INCLUSÃO | Membros | 1 | master"};
        QTest::newRow("uma conta") << 99 << 99 << "joao" << "(todos)" << ""
                                   << QStringList{"INCLUSÃO | Cargos | 1 | joao"};
        QTest::newRow("fora do programa") << -1 << 0 << "(fora do programa)" << "Cargos" << "1"
                                          << QStringList{"ALTERAÇÃO | Cargos | 1 | (fora do programa) SYSDBA"};
        QTest::newRow("outro código") << 99 << 99 << "(todas)" << "Membros" << "2" << QStringList{};
        QTest::newRow("só o passado") << 99 << -1 << "(todas)" << "(todos)" << "" << QStringList{};
    }

    void filters()
    {
        QFETCH(int, fromDay);
        QFETCH(int, toDay);
        QFETCH(QString, account);
        QFETCH(QString, register_);
        QFETCH(QString, code);
        QFETCH(QStringList, lines);
        LoggedProgram p;
        Messages::Recorder messages;
        TFHistorico w(p.menu);
        w.show();
        QCOMPARE(w.entries().first().operation, QString("ALTERAÇÃO")); // the last month, newest first
        typeDate(w.txtDataInicial, fromDay == 99 ? QDate() : Today::date().addDays(fromDay));
        typeDate(w.txtDataFinal, toDay == 99 ? QDate() : Today::date().addDays(toDay));
        w.cmbConta->setCurrentText(account);
        w.cmbCadastro->setCurrentText(register_);
        w.txtCodigo->setText(code);
        w.btnBuscar->click();
        QCOMPARE(gridLines(w), lines);
        QCOMPARE(w.lblTotal->text(), lines.size() == 1 ? QString("1 alteração.") : QString("%1 alterações.").arg(lines.size()));
        QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.texts().join("\n")));
    }

    // What the grid shows, printed with the filter on every page and long
    // details over several lines, and saved as a spreadsheet.
    void printAndExportWhatTheGridShows()
    {
        LoggedProgram p;
        Messages::Recorder messages;
        TFHistorico w(p.menu);
        w.show();
        w.cmbCadastro->setCurrentText("Membros");
        w.btnBuscar->click();
        ReportRun run;
        whenPreviewLaidOut([&run](PrintPreview *preview) {
            run = preview->run();
            preview->close();
        });
        w.btnImprimir->click();
        QCOMPARE(run.texts(0, "txtFiltro").value(0).section("; ", 1), QString("conta: todas; cadastro: Membros"));
        const QStringList operations = run.texts(0, "txtC5"), details = run.texts(0, "txtC6");
        QCOMPARE(operations.first(), QString("ALTERAÇÃO"));
        QCOMPARE(operations.count("INCLUSÃO"), 1);
        QVERIFY2(operations.size() > 3 && operations.mid(2).count(QString()) >= 2, qPrintable(operations.join('|')));
        QCOMPARE(details.mid(1).join(" ").simplified(), w.entries().at(1).details.simplified());

        QTemporaryDir folder;
        const QString path = folder.filePath("historico.csv");
        RecordForm::chooseExportFile = [&path](QWidget *, const QString &) { return path; };
        w.btnExportar->click();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows[0].endsWith("DATA E HORA;CONTA;COMPUTADOR;CADASTRO;CÓDIGO;OPERAÇÃO;DETALHES"));
        QVERIFY2(rows[1].contains(";master;") && rows[1].contains(";Membros;1;ALTERAÇÃO;MEMNOME: ANA → ANA MARIA"),
                 qPrintable(rows[1]));
        QCOMPARE(messages.texts().last(), QString("Planilha salva em \"%1\": 2 registros.").arg(path));
    }

    // A register's "Histórico" shows the current record's lines, newest
    // first, from its first; a profile that does not see the log has none.
    void aRegisterShowsTheHistoryOfItsRecord()
    {
        LoggedProgram p;
        auto members = p.open<TFMembro>();
        QVERIFY(DM->TBMEMBRO->locate("MEMCODIGO", {1}));
        QStringList lines;
        whenModalOpens([&](QWidget *modal) {
            auto *w = qobject_cast<TFHistorico *>(modal);
            lines = w ? gridLines(*w) : QStringList{"no history window"};
            modal->close();
        });
        members->command(members->btnHistorico)->trigger();
        QCOMPARE(lines, (QStringList{"ALTERAÇÃO | Membros | 1 | master", "INCLUSÃO | Membros | 1 | master"}));

        startSession(Profile::Secretaria);
        QVERIFY(!TFMembro(p.menu).btnHistorico);
    }
};

QTEST_MAIN(TestHistorico)
#include "tst_historico.moc"
