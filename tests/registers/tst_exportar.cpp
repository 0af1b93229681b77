// "Exportar" on the query pages: the CSV writer on its own, then the rows of
// the registers' grids read back from the files as a spreadsheet reads them.
#include "RegisterFixture.h"

#include "cashbook/ULivroCaixa.h"
#include "cashbook/UMovimentacoes.h"
#include "uikit/CsvExport.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"
#include "dataset/DbError.h"
#include "main/UParamentros.h"
#include "registers/UCargo.h"
#include "registers/UEvento.h"
#include "registers/UFuncionario.h"
#include "registers/UMembro.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

// A file as a spreadsheet reads it: an optional byte-order mark, then lines
// ended by CR LF of fields between ";", a quoted field holding anything
// (a doubled quote is one quote). Written apart from the writer, so that
// the two cannot share a fault.
struct Sheet
{
    bool byteOrderMark = false;
    bool endsWithLineEnd = false;
    QList<QStringList> rows;
};

Sheet readSheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    Sheet sheet;
    sheet.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    sheet.endsWithLineEnd = bytes.endsWith("\r\n");
    const QString text = QString::fromUtf8(bytes.mid(sheet.byteOrderMark ? 3 : 0));
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text.at(i + 1) == u'"')
                field += text.at(++i);
            else
                quoted = false;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            sheet.rows << (row << field);
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!row.isEmpty() || !field.isEmpty())
        sheet.rows << (row << field);
    return sheet;
}

const QDate kToday(2011, 5, 31);

// The save dialog answers with a file of `dir` (empty name: cancelled)
// while this lives, and keeps the name it proposed.
struct SaveChoice
{
    explicit SaveChoice(const QString &answer)
    {
        RecordForm::chooseExportFile = [this, answer](QWidget *, const QString &name) {
            proposed << name;
            return answer;
        };
    }
    ~SaveChoice() { RecordForm::chooseExportFile = &RecordForm::saveSpreadsheetDialog; }
    QStringList proposed;
};

struct Program : SignedInProgram
{
    Program() { Today::setForTests(kToday); }
    ~Program() { Today::setForTests(QDate()); }
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }
};

} // namespace

class TestExportar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    void fieldsAsAPortugueseSpreadsheetReadsThem_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("text") << QVariant("JOÃO DA SILVA") << "JOÃO DA SILVA";
        QTest::newRow("semicolon") << QVariant("RUA A; 10") << "\"RUA A; 10\"";
        QTest::newRow("quotes doubled") << QVariant("DIZ \"AMÉM\"") << "\"DIZ \"\"AMÉM\"\"\"";
        QTest::newRow("line break kept in quotes") << QVariant("LINHA 1\nLINHA 2") << "\"LINHA 1\nLINHA 2\"";
        QTest::newRow("date") << QVariant(QDate(2011, 5, 3)) << "03/05/2011";
        QTest::newRow("amount") << QVariant(1234.56) << "1234,56";
        QTest::newRow("amount, cents filled") << QVariant(1234.5) << "1234,50";
        QTest::newRow("negative amount, no thousands") << QVariant(-1234567.891) << "-1234567,89";
        QTest::newRow("whole number") << QVariant(42) << "42";
        QTest::newRow("nothing") << QVariant() << "";
        QTest::newRow("empty date") << QVariant(QMetaType::fromType<QDate>()) << "";
        QTest::newRow("formula") << QVariant("=SOMA(A1:A9)") << "'=SOMA(A1:A9)";
        QTest::newRow("plus first") << QVariant("+55 51 3333-4444") << "'+55 51 3333-4444";
        QTest::newRow("minus first") << QVariant("-2+3") << "'-2+3";
        QTest::newRow("at first") << QVariant("@SOMA(1)") << "'@SOMA(1)";
        QTest::newRow("formula with a semicolon") << QVariant("=A1;B1") << "\"'=A1;B1\"";
        QTest::newRow("equals inside is plain") << QVariant("A=B") << "A=B";
    }

    void fieldsAsAPortugueseSpreadsheetReadsThem()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, field);
        QCOMPARE(CsvExport::field(value), field);
    }

    void fileReadBackHasEveryField()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("teste.csv");
        const QList<QVariantList> rows = {
            {1, "CONCEIÇÃO \"DA\" PAZ", QDate(1980, 2, 29), 1234.56, "RUA 1;\nCASA 2"},
            {2, QVariant(), QVariant(QMetaType::fromType<QDate>()), 0.0, "€ ÿ Œ"},
        };
        CsvExport::write(path, {"CÓDIGO", "NOME", "DATA", "VALOR", "OBS"}, int(rows.size()),
                         [&rows](int row) { return rows.at(row); });
        const Sheet sheet = readSheet(path);
        QVERIFY(sheet.byteOrderMark);
        QVERIFY(sheet.endsWithLineEnd);
        QCOMPARE(sheet.rows, (QList<QStringList>{{"CÓDIGO", "NOME", "DATA", "VALOR", "OBS"},
                                                 {"1", "CONCEIÇÃO \"DA\" PAZ", "29/02/1980", "1234,56", "RUA 1;\nCASA 2"},
                                                 {"2", "", "", "0,00", "€ ÿ Œ"}}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"teste.csv"});
    }

    void failureSaysWhyAndLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString missingFolder = dir.filePath("não existe/membros.csv");
        const QString error = dbErrorOf([&] { CsvExport::write(missingFolder, {"A"}, 1, [](int) { return QVariantList{1}; }); });
        QVERIFY2(error.startsWith(QString("Não foi possível salvar a planilha \"%1\": ").arg(missingFolder)), qPrintable(error));

        // A row that cannot be read half-way: the old file stays whole, no part of the new one anywhere.
        const QString path = dir.filePath("membros.csv");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("antigo") == 6);
        old.close();
        const QString failed = dbErrorOf([&] {
            CsvExport::write(path, {"A"}, 100000, [](int row) {
                if (row == 60000)
                    throw DbError("falhou a leitura");
                return QVariantList{QString(40, u'x')};
            });
        });
        QCOMPARE(failed, QString("falhou a leitura"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("antigo"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"membros.csv"});
    }

    void everyRegisterHasExportarWithItsOwnName()
    {
        Program p;
        SaveChoice cancelled{QString()};
        Messages::Recorder recorder;
        const auto press = [&p](auto window) {
            QToolButton *button = window->TabSheet2->template findChild<QToolButton *>("btnExportar");
            if (!button || button->text() != "Exportar")
                return false;
            window->btnConsultarClick();
            button->click();
            return true;
        };
        QVERIFY(press(p.open<TFMembro>()));
        QVERIFY(press(p.open<TFFuncionario>()));
        QVERIFY(press(p.open<TFCargo>()));
        QVERIFY(press(p.open<TFEvento>()));
        QVERIFY(press(p.open<TFLivroCaixa>()));
        QVERIFY(press(p.open<TFMovimentacoes>()));
        QVERIFY(press(p.open<TFParamentros>()));
        QCOMPARE(cancelled.proposed,
                 (QStringList{"membros-2011-05-31.csv", "funcionarios-2011-05-31.csv", "cargos-2011-05-31.csv",
                              "eventos-2011-05-31.csv", "livros-caixa-2011-05-31.csv", "movimentacoes-2011-05-31.csv",
                              "parametros-2011-05-31.csv"}));
        QVERIFY(recorder.shown.isEmpty()); // cancelled: nothing written, nothing said
        QVERIFY(QDir(p.dir.path()).isEmpty());
    }

    // Every column of the entry page, in the order of the tab key and with its
    // captions, the picture left out.
    void membersWithTheSearchOn()
    {
        Program p;
        const QList<QVariantList> members = {
            {1, "JOÃO SILVA", "RUA DAS FLORES, 10; FUNDOS", "(51) 3333-4444", "joao@exemplo.com.br"},
            {2, "MARIA SOUZA", "RUA B", QVariant(), QVariant()},
            {3, "ANA \"NINA\" SILVEIRA", QVariant(), "+55 51 9999-0000", QVariant()},
        };
        for (const QVariantList &m : members)
            p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMENDERECO, MEMTELEFONERES, MEMEMAIL) "
                         "VALUES (?, ?, ?, ?, ?)", m);
        p.fx.db.exec("UPDATE TMEMBRO SET MEMTELEFONETRAB = '3222-1000', MEMCELULAR = '99999-0001', MEMPAISNACAO = "
                     "'BRASIL', MEMDATANASC = '1970-03-01', MEMDATACONVERSAO = '1990-12-25', MEMCIDADE = 'PORTO ALEGRE', "
                     "MEMUF = 'RS', MEMESTADOCIVIL = 'CASADO', MEMCONJUGE = 'ROSA SILVA', MEMCPF = '52998224725', "
                     "MEMRG = '1234567', MEMNOMEPAI = 'JOSÉ SILVA', MEMNOMEMAE = 'TEREZA SILVA', MEMSEXO = 'MASCULINO', "
                     "MEMFOTO = x'FFD8FF' WHERE MEMCODIGO = 1");
        auto w = p.open<TFMembro>();
        w->btnConsultarClick();
        QTest::keyClicks(w->searchBox, "silv");
        SaveChoice choice{p.file("membros.csv")};
        Messages::Recorder recorder;
        w->btnExportar->click();

        Sheet sheet = readSheet(p.file("membros.csv"));
        QCOMPARE(sheet.rows.value(0).mid(19), // the roll's page after the register's
                 (QStringList{"SITUAÇÃO", "Nº DO ROL", "DATA DE BATISMO", "DATA DE ADMISSÃO", "FORMA DE ADMISSÃO",
                              "IGREJA DE ORIGEM", "DATA DE SAÍDA", "MOTIVO DA SAÍDA", "IGREJA DE DESTINO",
                              "DATA DO CONSENTIMENTO", "REGISTRADO POR", "DATA DA REVOGAÇÃO", "FINALIDADE",
                              "RESPONSÁVEL (MEMBRO MENOR DE IDADE)"}));
        for (QStringList &row : sheet.rows)
            row = row.mid(0, 19);
        QCOMPARE(sheet.rows,
                 (QList<QStringList>{{"CODIGO", "NOME", "ENDEREÇO", "TELEFONE RESID.", "TELEFONE TRAB.", "CELULAR", "EMAIL",
                                      "PAÍS", "DATA DE NASCIMENTO", "DATA DE CONVERSÃO", "CIDADE", "UF", "ESTADO CIVIL",
                                      "CÔNJUGE", "CPF", "RG", "NOME DO PAI", "NOME DA MÃE", "SEXO"},
                                     {"1", "JOÃO SILVA", "RUA DAS FLORES, 10; FUNDOS", "(51) 3333-4444", "3222-1000",
                                      "99999-0001", "joao@exemplo.com.br", "BRASIL", "01/03/1970", "25/12/1990",
                                      "PORTO ALEGRE", "RS", "CASADO", "ROSA SILVA", "52998224725", "1234567", "JOSÉ SILVA",
                                      "TEREZA SILVA", "MASCULINO"},
                                     {"3", "ANA \"NINA\" SILVEIRA", "", "'+55 51 9999-0000", "", "", "", "", "", "", "",
                                      "", "", "", "", "", "", "", ""}}));
        QCOMPARE(recorder.texts(), QStringList{QString("Planilha salva em \"%1\": 2 registros.")
                                                   .arg(QDir::toNativeSeparators(p.file("membros.csv")))});
        QCOMPARE(DM->TBMEMBRO->recordCount(), 2); // the search is still on

        w->btnAlterar->click(); // a row being edited is saved or cancelled before anything is exported
        QVERIFY(!w->btnExportar->isEnabled());
        w->btnCancelar->click();
        QVERIFY(w->btnExportar->isEnabled());
    }

    void movementsWithAmountsDatesKindAndBook()
    {
        Program p;
        p.fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO) "
                     "VALUES (4, 5, 'Maio', 2011, 'CAIXA DE MAIO/2011')");
        const QList<QVariantList> movements = {
            {1, "DÍZIMOS", 4, 1234.56, "ENTRADA", QDate(2011, 5, 3)},
            {2, "CONTA DE LUZ", 4, 89.9, "SAIDA", QDate(2011, 5, 10)},
            {3, "SEM LIVRO", 9, 0.05, "SAIDA", QVariant(QMetaType::fromType<QDate>())},
        };
        for (const QVariantList &m : movements)
            p.fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, MOVDATA) "
                         "VALUES (?, ?, ?, ?, ?, ?)", m);
        // The tithe's category (a starting one), its giver and its envelope; the
        // last movement's category and member were deleted since.
        p.fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (7, 'PEDRO ALVES')");
        p.fx.db.exec("UPDATE TMOVIMETACOES SET MOVCATEGORIA = 1, MOVMEMBRO = 7, MOVDOCUMENTO = 'ENV 12' WHERE MOVCODIGO = 1");
        p.fx.db.exec("UPDATE TMOVIMETACOES SET MOVCATEGORIA = 99, MOVMEMBRO = 98 WHERE MOVCODIGO = 3");
        auto w = p.open<TFMovimentacoes>();
        SaveChoice choice{p.file("caixa.csv")};
        Messages::Recorder recorder;
        w->btnConsultarClick();
        w->btnExportar->click();
        QCOMPARE(readSheet(p.file("caixa.csv")).rows,
                 (QList<QStringList>{{"CODIGO", "DESCRIÇÃO", "LIVRO", "VALOR", "DATA", "ENTRADA OU SAÍDA", "CATEGORIA",
                                      "MEMBRO", "DOCUMENTO", "DESCRIÇÃO DO LIVRO"},
                                     {"1", "DÍZIMOS", "4", "1234,56", "03/05/2011", "ENTRADA", "DÍZIMOS", "PEDRO ALVES",
                                      "ENV 12", "CAIXA DE MAIO/2011"},
                                     {"2", "CONTA DE LUZ", "4", "89,90", "10/05/2011", "SAIDA", "", "", "",
                                      "CAIXA DE MAIO/2011"},
                                     {"3", "SEM LIVRO", "9", "0,05", "", "SAIDA", "", "", "", ""}}));
    }

    void eventMemosKeepTheirLineBreaks()
    {
        Program p;
        p.fx.db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME) VALUES (3, 'ANA LIMA')");
        p.fx.db.exec("INSERT INTO TEVENTO (EVECODIGO, EVEDESCRICAO, EVEDATA, EVEHORA, EVEMINUTOS, EVEFUNCIONARIO) "
                     "VALUES (?, ?, ?, ?, ?, 3)", {1, "Culto de Santa Ceia\nTrazer \"pão\"; vinho", QDate(2011, 6, 5), 19, 30});
        auto w = p.open<TFEvento>();
        SaveChoice choice{p.file("eventos.csv")};
        Messages::Recorder recorder;
        w->btnExportar->click();
        QCOMPARE(readSheet(p.file("eventos.csv")).rows,
                 (QList<QStringList>{{"CÓDIGO", "DESCRIÇÃO", "DATA", "HORÁRIO", "MINUTOS", "FUNCIONÁRIO", "NOME DO FUNCIONÁRIO"},
                                     {"1", "Culto de Santa Ceia\nTrazer \"pão\"; vinho", "05/06/2011", "19", "30", "3",
                                      "ANA LIMA"}}));
    }

    void aFailureIsShownAndNothingIsWritten()
    {
        Program p;
        p.fx.db.exec("INSERT INTO TCARGO (CARCODIGO, CARDESCRICAO, CARSALARIO) VALUES (1, 'PASTOR', 3500)");
        auto w = p.open<TFCargo>();
        const QString path = p.file("falta/cargos.csv");
        SaveChoice choice{path};
        Messages::Recorder recorder;
        w->btnExportar->click();
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(recorder.shown.at(0).kind, Messages::Shown::Error);
        QVERIFY(recorder.shown.at(0).text.contains(path));
        QVERIFY(QDir(p.dir.path()).isEmpty());
    }
};

QTEST_MAIN(TestExportar)
#include "tst_exportar.moc"
