// The members' documents: every kind's fields filled from the member, the
// church's data and what was asked; a model with a field its kind does not
// fill refused, in the model window too, and the original back on request;
// numbers per kind and year, kept unique by the database; a transfer letter
// and a certificate as they print from "Documentos".
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "datamodule/Documents.h"
#include "datamodule/UDM.h"
#include "main/UModelos.h"
#include "registers/UDocumentos.h"
#include "registers/UMembro.h"
#include "reports/cadastros/DocumentModels.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

using DocumentModels::Kind;

namespace {

const QDate kToday(2026, 5, 31);

// One member and the church, as a secretary keeps them.
struct Church : SignedInProgram
{
    explicit Church(Profile profile = Profile::Secretaria) : SignedInProgram(profile)
    {
        Today::setForTests(kToday);
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMCPF, MEMDATANASC, MEMPAISNACAO, MEMESTADOCIVIL, "
                   "MEMNOMEPAI, MEMNOMEMAE, MEMDATABATISMO, MEMDATAADMISSAO, MEMNUMROL) "
                   "VALUES (1, 'ANA DE SOUZA', '529.982.247-25', '1990-03-04', 'BRASILEIRA', 'CASADO', "
                   "'PEDRO DE SOUZA', 'MARIA DE SOUZA', '2001-06-01', '2005-02-20', 42)");
        for (const auto &[code, value] : QList<std::pair<int, QString>>{{1, "IGREJA BATISTA DA PAZ"},
                                                                         {101, "12.345.678/0001-95"},
                                                                         {102, "RUA DAS FLORES, 100"},
                                                                         {103, "PELOTAS / RS"},
                                                                         {105, "PR. JOÃO LIMA"},
                                                                         {110, "CLARA NUNES"}})
            fx.db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (?, ?)", {code, value});
        DM->TBMEMBRO->open();
    }
    ~Church() { Today::setForTests(QDate()); }
};

// The value every kind fills for each of the common fields.
const QStringList kCommon = {
    "NOME=ANA DE SOUZA", "CPF=529.982.247-25", "RG=" + QString(20, '_'),
    "DATA_NASCIMENTO=4 de março de 1990", "NACIONALIDADE=BRASILEIRA", "ESTADO_CIVIL=CASADO",
    "PAI=PEDRO DE SOUZA", "MAE=MARIA DE SOUZA", "DATA_BATISMO=1º de junho de 2001",
    "DATA_ADMISSAO=20 de fevereiro de 2005", "NUMERO_ROL=42", "IGREJA=IGREJA BATISTA DA PAZ",
    "CNPJ=12.345.678/0001-95", "ENDERECO_IGREJA=RUA DAS FLORES, 100", "CIDADE=PELOTAS / RS",
    "PASTOR=PR. JOÃO LIMA", "HOJE_POR_EXTENSO=31 de maio de 2026", "NUMERO=3/2026"};

QStringList namesOf(const QList<DocumentModels::Field> &fields)
{
    QStringList names;
    for (const DocumentModels::Field &f : fields)
        names << f.name;
    return names;
}

bool errorShown(const Messages::Recorder &messages, const QStringList &parts)
{
    for (const Messages::Shown &s : messages.shown)
        if (s.kind == Messages::Shown::Error
            && std::all_of(parts.begin(), parts.end(), [&s](const QString &p) { return s.text.contains(p); }))
            return true;
    return false;
}

} // namespace

class TestDocumentos : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    // A model naming every field of its kind gets every value: the member's
    // (an empty one a line to fill), the church's, the day's, the number and
    // what was asked; the original model fills with no brace left.
    void everyKindFillsItsFields_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("asked"); // FIELD=value as typed
        QTest::addColumn<QStringList>("own");   // FIELD=value as filled
        QTest::newRow("transferência")
            << int(Kind::Transfer)
            << QStringList{"IGREJA_DESTINO=IGREJA BATISTA BETEL", "CIDADE_DESTINO=RIO GRANDE", "VALIDA_ATE=30/11/2026"}
            << QStringList{"IGREJA_DESTINO=IGREJA BATISTA BETEL", "CIDADE_DESTINO=RIO GRANDE",
                           "VALIDA_ATE=30 de novembro de 2026"};
        QTest::newRow("recomendação") << int(Kind::Recommendation) << QStringList{} << QStringList{};
        QTest::newRow("batismo") << int(Kind::Baptism) << QStringList{"OFICIANTE=PR. JOÃO LIMA"}
                                 << QStringList{"OFICIANTE=PR. JOÃO LIMA"};
        QTest::newRow("apresentação") << int(Kind::ChildPresentation)
                                      << QStringList{"DATA_APRESENTACAO=01/01/2026", "OFICIANTE="}
                                      << QStringList{"DATA_APRESENTACAO=1º de janeiro de 2026",
                                                     "OFICIANTE=" + QString(20, '_')};
        QTest::newRow("declaração") << int(Kind::Membership) << QStringList{} << QStringList{};
    }
    void everyKindFillsItsFields()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, own);
        Church church;
        const Kind k = Kind(kind);
        QHash<QString, QVariant> typed;
        for (const QString &pair : asked) {
            const QString field = pair.section('=', 0, 0), value = pair.section('=', 1);
            typed.insert(field, DocumentModels::isDateField(field) ? QVariant(QDate::fromString(value, "dd/MM/yyyy"))
                                                                   : QVariant(value));
        }
        const QStringList fields = namesOf(DocumentModels::fields(k));
        QStringList ownNames;
        for (const QString &pair : own)
            ownNames << pair.section('=', 0, 0);
        QCOMPARE(namesOf(DocumentModels::askedFields(k)), ownNames);

        QStringList model, expected = kCommon + own;
        for (const QString &field : fields)
            model << QStringLiteral("%1={%1}").arg(field);
        const auto values = DocumentModels::values(1, kToday, "3/2026", typed);
        QCOMPARE(DocumentModels::fill(k, model.join('\n'), values).split('\n'), expected);

        const QString original = DocumentModels::fill(k, DocumentModels::model(k), values);
        QVERIFY2(!original.contains('{') && !original.contains('}') && original.contains("ANA DE SOUZA")
                     && original.contains("IGREJA BATISTA DA PAZ"),
                 qPrintable(original));
    }

    // A field the kind does not fill, or a misspelt one, is named in the
    // refusal; in the window the text stays as typed and nothing is stored.
    // A good text is kept and used; the original comes back on request.
    void anUnknownFieldIsRefusedAndTheOriginalRestored()
    {
        Church church;
        const QString refused = dbErrorOf([] {
            DocumentModels::check(Kind::Membership, "{NOME} vai para a {IGREJA_DESTINO} em {nome} {NOEM}.");
        });
        for (const char *part : {"Os campos {IGREJA_DESTINO}, {NOEM} não existem", "Declaração de Membro"})
            QVERIFY2(refused.contains(part), qPrintable(refused));

        auto window = church.open<TFModelos>();
        window->cbTipo->setCurrentIndex(window->cbTipo->findText("Declaração de Membro"));
        QCOMPARE(window->txtModelo->toPlainText(), DocumentModels::original(Kind::Membership));
        QVERIFY(window->lstCampos->count() == DocumentModels::fields(Kind::Membership).size());
        const QString typo = "Declaramos que {NOME} é membro da {IGREJA_DESTINO}.";
        window->txtModelo->setPlainText(typo);
        {
            Messages::Recorder messages;
            window->btnSalvar->click();
            QVERIFY2(errorShown(messages, {"O campo {IGREJA_DESTINO} não existe", "Declaração de Membro"}),
                     qPrintable(messages.texts().join('\n')));
        }
        QCOMPARE(window->txtModelo->toPlainText(), typo);
        QCOMPARE(church.fx.db.scalar("SELECT COUNT(*) FROM TMODELO").toInt(), 0);

        const QString own = "Declaramos que {NOME} é membro da {IGREJA} desde {DATA_ADMISSAO}.";
        window->txtModelo->setPlainText(own);
        {
            Messages::Recorder messages;
            window->btnSalvar->click();
            QCOMPARE(messages.texts(), QStringList{"Modelo salvo."});
        }
        QCOMPARE(church.fx.db.rows("SELECT MODTIPO, MODTEXTO FROM TMODELO"),
                 (QList<QVariantList>{{"Declaração de Membro", own}}));
        QCOMPARE(window->lblOrigem->text(), QString("Modelo da igreja"));
        QCOMPARE(DocumentModels::model(Kind::Membership), own);
        QCOMPARE(DocumentModels::model(Kind::Transfer), DocumentModels::original(Kind::Transfer));

        Messages::Recorder messages;
        messages.answers = {true};
        window->btnRestaurar->click();
        QCOMPARE(church.fx.db.scalar("SELECT COUNT(*) FROM TMODELO").toInt(), 0);
        QCOMPARE(window->txtModelo->toPlainText(), DocumentModels::original(Kind::Membership));
        QCOMPARE(window->lblOrigem->text(), QString("Modelo original do programa"));
    }

    // Each kind counts from 1 in each year; every document is a line of the
    // member's history; the database refuses a number issued twice.
    void numberedPerKindAndYear()
    {
        Church church;
        const QList<std::tuple<QString, QDate, int>> issues{
            {"Carta de Transferência", QDate(2026, 1, 5), 1}, {"Carta de Transferência", QDate(2026, 3, 9), 2},
            {"Declaração de Membro", QDate(2026, 3, 9), 1},   {"Carta de Transferência", QDate(2027, 1, 2), 1},
            {"Carta de Transferência", QDate(2026, 12, 30), 3}};
        for (const auto &[kind, date, number] : issues) {
            const Documents::Issued issued = Documents::issue(DM->SQLConnection1(), {1, kind, date, "DETALHE"});
            QCOMPARE(issued.number, number);
            QCOMPARE(issued.year, date.year());
        }
        QCOMPARE(church.fx.db.rows("SELECT DOCCODIGO, DOCMEMBRO, DOCTIPO, DOCANO, DOCNUMERO, DOCDETALHES "
                                   "FROM TDOCUMENTO ORDER BY 1"),
                 (QList<QVariantList>{{1, 1, "Carta de Transferência", 2026, 1, "DETALHE"},
                                      {2, 1, "Carta de Transferência", 2026, 2, "DETALHE"},
                                      {3, 1, "Declaração de Membro", 2026, 1, "DETALHE"},
                                      {4, 1, "Carta de Transferência", 2027, 1, "DETALHE"},
                                      {5, 1, "Carta de Transferência", 2026, 3, "DETALHE"}}));
        QCOMPARE(church.fx.db.rows("SELECT ROLMEMBRO, ROLDATA, ROLDESCRICAO, ROLREFERENCIA FROM TROL "
                                   "WHERE ROLCODIGO = (SELECT MAX(ROLCODIGO) FROM TROL)"),
                 (QList<QVariantList>{{1, QDate(2026, 12, 30), "Documento emitido: Carta de Transferência",
                                       "Carta de Transferência nº 3/2026"}}));
        QCOMPARE(church.fx.db.scalar("SELECT COUNT(*) FROM TROL WHERE ROLDESCRICAO STARTING WITH 'Documento'").toInt(),
                 5);
        const QString twice = dbErrorOf([&] {
            church.fx.db.exec("INSERT INTO TDOCUMENTO (DOCCODIGO, DOCMEMBRO, DOCTIPO, DOCANO, DOCNUMERO) "
                              "VALUES (9, 1, 'Declaração de Membro', 2026, 1)");
        });
        QVERIFY2(twice.contains(Documents::kNumberIndex), qPrintable(twice));
        QCOMPARE(church.fx.db.scalar("SELECT COUNT(*) FROM TDOCUMENTO").toInt(), 5);
    }

    // From the register: the transfer letter asks its destination, then
    // prints on a portrait page with its number, the church's head, the
    // filled model, the signers and the slip below the cut; a certificate
    // prints landscape inside a border with the baptism from the roll.
    void documentsPrintFromTheRegister()
    {
        Church church;
        auto reg = church.open<TFMembro>();
        QVERIFY(reg->command(reg->btnDocumentos)->isVisible());
        TFDocumentos window(reg.get());
        window.show();
        QCOMPARE(window.lblMembro->text(), QString("ANA DE SOUZA"));
        QCOMPARE(window.txtValidaAte->text(), QString("30/11/2026"));
        {
            Messages::Recorder messages;
            window.btnEmitir->click();
            QVERIFY(errorShown(messages, {"Informe a igreja de destino"}));
        }
        QCOMPARE(church.fx.db.scalar("SELECT COUNT(*) FROM TDOCUMENTO").toInt(), 0);

        window.txtIgrejaDestino->setText("IGREJA BATISTA BETEL");
        window.txtCidadeDestino->setText("RIO GRANDE");
        const ReportRun letter = previewOpenedBy(window.btnEmitir);
        QCOMPARE(letter.pageSize(), QSize(2100, 2970));
        QCOMPARE(letter.texts(0, "txtTitulo"), QStringList{"Carta de Transferência nº 1/2026"});
        QCOMPARE(letter.texts(0, "txtNomeDaIgreja"), QStringList{"IGREJA BATISTA DA PAZ"});
        const QString body = letter.texts(0, "txtTexto").join(' ');
        for (const char *part : {"À IGREJA BATISTA BETEL, em RIO GRANDE.", "ANA DE SOUZA",
                                 "válida até 30 de novembro de 2026", "PELOTAS / RS, 31 de maio de 2026."})
            QVERIFY2(body.contains(part), qPrintable(body));
        QCOMPARE(letter.texts(0, "txtAssinatura105"), QStringList{"PR. JOÃO LIMA"});
        QCOMPARE(letter.texts(0, "txtAssinatura110"), QStringList{"CLARA NUNES"});
        QCOMPARE(letter.texts(0, "txtCanhotoTitulo"),
                 QStringList{"CANHOTO DE DEVOLUÇÃO - Carta de Transferência nº 1/2026"});
        const QString slip = letter.texts(0, "txtCanhoto").join(' ');
        QVERIFY2(slip.contains("A IGREJA BATISTA BETEL, em RIO GRANDE") && slip.contains("nº 1/2026"), qPrintable(slip));
        const int cut = letter.findItem(0, "linhaCorte")->rect.top();
        QVERIFY(letter.findItem(0, "txtCanhoto")->rect.top() > cut);
        QVERIFY(letter.findItem(0, "txtAssinatura105")->rect.bottom() < cut);
        QCOMPARE(church.fx.db.rows("SELECT DOCTIPO, DOCNUMERO, DOCDETALHES FROM TDOCUMENTO"),
                 (QList<QVariantList>{{"Carta de Transferência", 1,
                                       "IGREJA DE DESTINO: IGREJA BATISTA BETEL; CIDADE DE DESTINO: RIO GRANDE; "
                                       "VÁLIDA ATÉ: 30/11/2026"}}));

        window.cbTipo->setCurrentIndex(window.cbTipo->findText("Certificado de Batismo"));
        QVERIFY(window.txtOficiante->isVisibleTo(&window) && !window.txtIgrejaDestino->isVisibleTo(&window));
        QCOMPARE(window.txtDataBatismo->text(), QString("01/06/2001"));
        window.txtOficiante->setText("PR. ELIAS ROCHA");
        const ReportRun certificate = previewOpenedBy(window.btnEmitir);
        QCOMPARE(certificate.pageSize(), QSize(2970, 2100));
        QCOMPARE(certificate.texts(0, "txtTitulo"), QStringList{"Certificado de Batismo nº 1/2026"});
        const QString text = certificate.texts(0, "txtTexto").join(' ');
        QVERIFY2(text.contains("batizado(a) em 1º de junho de 2001 por PR. ELIAS ROCHA"), qPrintable(text));
        QVERIFY(certificate.findItem(0, "QRShapeMoldura"));
        QVERIFY(!certificate.findItem(0, "txtCanhoto"));
        QCOMPARE(church.fx.db.scalar("SELECT COUNT(*) FROM TROL WHERE ROLMEMBRO = 1 AND ROLDESCRICAO STARTING WITH "
                           "'Documento emitido'").toInt(), 2);
    }
};

QTEST_MAIN(TestDocumentos)
#include "tst_documentos.moc"
