// A member's rights over their data: "Dados do Membro" prints every table
// that mentions the member; "Anonimizar" leaves the person in no table (the
// change log included), keeps the roll's statistics and the money, and the
// log still refuses every other change.
#include "RegisterFixture.h"
#include "ReportTestKit.h"

#include "datamodule/ChangeLog.h"
#include "datamodule/Documents.h"
#include "datamodule/MemberData.h"
#include "datamodule/Roll.h"
#include "datamodule/Schema.h"
#include "datamodule/UDM.h"
#include "registers/UMembro.h"
#include "uikit/Messages.h"
#include "uikit/Today.h"

#include <QPushButton>
#include <QtTest>

namespace {

const QDate kToday(2026, 5, 31);
const QStringList kPersonal = {"JOANA PEREIRA", "529.982.247-25", "91111-2222", "99876-5432", "joana@exemplo.org",
                               "RUA DAS ACÁCIAS", "PEDRO PEREIRA", "PAULO SOUZA", "CARLOS PEREIRA", "MG-12.345.678"};

// Member 7 as a secretary and a treasurer keep her: the register, a change
// of phone, a note of the roll and a document naming her, two gifts.
struct Member : SignedInProgram
{
    explicit Member(Profile profile = Profile::Administrador) : SignedInProgram(profile)
    {
        Today::setForTests(kToday);
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMENDERECO, MEMCELULAR, MEMEMAIL, MEMCPF, MEMRG, "
                   "MEMNOMEPAI, MEMNOMEMAE, MEMCONJUGE, MEMDATANASC, MEMFOTO, MEMSEXO, MEMSITUACAO, MEMDATAADMISSAO, "
                   "MEMFORMAADMISSAO, MEMRESPONSAVEL, MEMCIDADE) VALUES (7, 'JOANA PEREIRA', 'RUA DAS ACÁCIAS, 12', "
                   "'(53) 91111-2222', 'joana@exemplo.org', '529.982.247-25', 'MG-12.345.678', 'PEDRO PEREIRA', "
                   "'ANA PEREIRA', 'PAULO SOUZA', '2012-04-01', ?, 'FEMININO', 'ATIVO', '2020-03-01', 'BATISMO', "
                   "'CARLOS PEREIRA', 'PELOTAS')",
                   {pictureBytes(Qt::red, "PNG")});
        fx.db.exec("UPDATE TMEMBRO SET MEMCELULAR = '(53) 99876-5432' WHERE MEMCODIGO = 7");
        fx.db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMSITUACAO) VALUES (8, 'OUTRO MEMBRO', 'ATIVO')");
        DM->TBMEMBRO->open();
        Roll::addToHistory(7, {QDate(2026, 2, 1), "CARTA RECEBIDA", "ATA 3", "ENTREGUE POR JOANA PEREIRA"});
        Documents::issue(DM->SQLConnection1(), {7, "Declaração de Membro", kToday, "A PEDIDO DE JOANA PEREIRA"});
        fx.db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO, LIVDESCRICAO, LIVSALDOANTERIOR) "
                   "VALUES (1, 5, 'MAIO', 2026, 'CAIXA', 0)");
        for (const auto &[code, amount] : {std::pair{1, 100.0}, {2, 50.0}})
            fx.db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO, "
                       "MOVDATA, MOVMEMBRO) VALUES (?, 'DÍZIMO', 1, ?, 'ENTRADA', '2026-05-10', 7)",
                       {code, amount});
    }
    ~Member() { Today::setForTests(QDate()); }

    std::unique_ptr<TFMembro> onTheRoll()
    {
        auto w = open<TFMembro>();
        w->PageControl1->setCurrentWidget(w->TabRol);
        DM->TBMEMBRO->locate("MEMCODIGO", {7});
        return w;
    }
};

// Every text any table holds (the log's details included), one per value.
QStringList everyText(const TestDatabase &db)
{
    QStringList tables{ChangeLog::kTable};
    for (const TableDef &t : Schema::tables())
        tables << t.table;
    QStringList texts;
    for (const QString &table : tables)
        for (const QVariantList &row : db.rows("SELECT * FROM " + table))
            for (const QVariant &value : row)
                texts << (value.metaType().id() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray())
                                                                          : value.toString());
    return texts;
}

QStringList containing(const QStringList &texts, const QStringList &values)
{
    QStringList found;
    for (const QString &text : texts)
        for (const QString &value : values)
            if (text.contains(value, Qt::CaseInsensitive))
                found << text;
    return found;
}

} // namespace

class TestDadosMembro : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setUpTestProgram();
        Q_INIT_RESOURCE(resources);
    }

    // Each table with a column of the member has its part in the report,
    // with the member's rows; the log's part has the lines of every one of
    // them; the photograph prints.
    void theMemberDataHasEveryTableThatMentionsTheMember()
    {
        Member m(Profile::Consulta);
        const QHash<QString, QString> partOf = {{"TROL", "Histórico no Rol"},
                                                {"TDOCUMENTO", "Documentos Emitidos"},
                                                {"TMOVIMETACOES", "Contribuições e Movimentações por Mês"}};
        for (const TableDef &t : Schema::tables())
            for (const FieldDef &def : t.columns)
                if (t.table != "TMEMBRO" && def.name.endsWith("MEMBRO"))
                    QVERIFY2(partOf.contains(t.table), qPrintable(t.table + " mentions a member: the report lacks it"));

        auto w = m.onTheRoll();
        QVERIFY(w->btnDadosMembro->isEnabled());
        const ReportRun run = previewOpenedBy(w->btnDadosMembro);
        QStringList printed;
        for (int page = 0; page < run.pages().size(); ++page)
            for (int c = 1; c <= 5; ++c)
                printed << run.texts(page, QString("txtCelula%1").arg(c));
        for (const QString &expected :
             {QString("Cadastro"), QString("joana@exemplo.org"), QString("529.982.247-25"), partOf["TROL"],
              QString("ENTREGUE POR JOANA PEREIRA"), partOf["TDOCUMENTO"], QString("Declaração de Membro nº 1/2026"),
              partOf["TMOVIMETACOES"], QString("05/2026"), QString("150,00"), QString("Histórico de Alterações"),
              QString("Rol de Membros nº 1"), QString("Documentos nº 1"), QString("Movimentações nº 2"),
              QString("(fora do programa)")})
            QVERIFY2(printed.contains(expected), qPrintable(expected));
        QVERIFY(!printed.contains("OUTRO MEMBRO"));
        QCOMPARE(run.images().size(), 1);
    }

    // Only the Administrador anonymises, after a question naming the
    // member; then no table holds her personal values, her roll and money
    // stay, and the log says it was done, by whom.
    void anonymisationLeavesThePersonInNoTable()
    {
        {
            Member secretary(Profile::Secretaria);
            QVERIFY(secretary.onTheRoll()->btnAnonimizar->isHidden());
        }
        Member m;
        auto w = m.onTheRoll();
        QVERIFY(!w->btnAnonimizar->isHidden());
        QVERIFY(!containing(everyText(m.fx.db), kPersonal).isEmpty());
        const QList<QVariantList> money = m.fx.db.rows("SELECT MOVCODIGO, MOVVALOR, MOVMEMBRO FROM TMOVIMETACOES");
        const QVariant rollRows = m.fx.db.scalar("SELECT COUNT(*) FROM TROL WHERE ROLMEMBRO = 7");

        Messages::Recorder declined;
        w->btnAnonimizar->click();
        QVERIFY(declined.texts().value(0).contains("Anonimizar JOANA PEREIRA (código 7)?"));
        QVERIFY(!containing(everyText(m.fx.db), kPersonal).isEmpty());

        Messages::Recorder recorder;
        recorder.answers = {true};
        w->btnAnonimizar->click();
        QCOMPARE(recorder.shown.size(), 2);
        QCOMPARE(containing(everyText(m.fx.db), kPersonal), QStringList());
        QCOMPARE(m.fx.db.rows("SELECT MEMNOME, MEMSEXO, MEMSITUACAO, MEMDATAADMISSAO, MEMFORMAADMISSAO, MEMCIDADE, "
                              "MEMANONIMIZADOEM, IIF(MEMDATANASC IS NULL AND MEMFOTO IS NULL, 1, 0) FROM TMEMBRO WHERE MEMCODIGO = 7"),
                 (QList<QVariantList>{{"MEMBRO ANONIMIZADO 0007", "FEMININO", "ATIVO", QDate(2020, 3, 1), "BATISMO",
                                       "PELOTAS", QDate::currentDate(), 1}}));
        QCOMPARE(m.fx.db.rows("SELECT MOVCODIGO, MOVVALOR, MOVMEMBRO FROM TMOVIMETACOES"), money);
        QCOMPARE(m.fx.db.scalar("SELECT COUNT(*) FROM TROL WHERE ROLMEMBRO = 7"), rollRows);
        QCOMPARE(m.fx.db.scalar("SELECT MEMNOME FROM TMEMBRO WHERE MEMCODIGO = 8").toString(), QString("OUTRO MEMBRO"));
        QCOMPARE(m.fx.db.rows("SELECT ALTCONTA, ALTREGISTRO FROM TALTERACOES WHERE ALTOPERACAO = ?",
                              {ChangeLog::Operation::Anonymise}),
                 (QList<QVariantList>{{"master", 7}}));
        QCOMPARE(DM->TBMEMBROMEMNOME->asString(), QString("MEMBRO ANONIMIZADO 0007"));
        QVERIFY(!w->btnAnonimizar->isEnabled());
    }

    // Outside an anonymisation's transaction, or for a member who is not
    // anonymised, or on a column but the details, the log refuses as ever.
    void theLogStillRefusesEveryOtherChange_data()
    {
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("change");
        QTest::newRow("nenhum membro") << "" << "ALTDETALHES = 'x'";
        QTest::newRow("membro não anonimizado") << "8" << "ALTDETALHES = 'x'";
        QTest::newRow("outra coluna") << "7" << "ALTCONTA = 'outra'";
        QTest::newRow("exclusão") << "7" << "";
    }
    void theLogStillRefusesEveryOtherChange()
    {
        QFETCH(QString, named);
        QFETCH(QString, change);
        Member m;
        MemberData::anonymise(DM->SQLConnection1(), 7);
        const QList<QVariantList> log = m.fx.db.rows("SELECT * FROM TALTERACOES ORDER BY 1");
        const QString sql = QString("EXECUTE BLOCK AS DECLARE X INTEGER; BEGIN %1 %2; END")
                                .arg(named.isEmpty() ? QString()
                                                     : QString("X = RDB$SET_CONTEXT('USER_TRANSACTION', '%1', '%2');")
                                                           .arg(ChangeLog::kAnonymisationVariable, named),
                                     change.isEmpty() ? QString("DELETE FROM TALTERACOES")
                                                      : "UPDATE TALTERACOES SET " + change);
        QVERIFY(dbErrorOf([&] { m.fx.db.exec(sql); }).startsWith("O histórico de alterações não pode ser alterado"));
        QCOMPARE(m.fx.db.rows("SELECT * FROM TALTERACOES ORDER BY 1"), log);
    }
};

QTEST_MAIN(TestDadosMembro)
#include "tst_dadosmembro.moc"
