// The change log kept by the database: every operation on every table leaves
// its line with the account, the workstation and what changed, whichever
// connection wrote it (the program's, a second workstation's, a plain one);
// the program logs its sign-ins; the log refuses to be changed or deleted.
#include "ProgramFixture.h"

#include "datamodule/ChangeLog.h"
#include "datamodule/Schema.h"
#include "datamodule/Statements.h"
#include "signin/ULogin.h"
#include "uikit/Messages.h"

#include <QLineEdit>
#include <QtTest>

namespace {

int lastLine(const TestDatabase &db)
{
    return db.scalar("SELECT COALESCE(MAX(ALTCODIGO), 0) FROM TALTERACOES").toInt();
}

// The log's lines after `after`, oldest first, with `columns`.
QList<QVariantList> linesAfter(const TestDatabase &db, int after,
                               const QString &columns = "ALTTABELA, ALTREGISTRO, ALTOPERACAO, ALTCONTA, "
                                                        "COALESCE(ALTESTACAO, '-'), ALTUSUARIOBANCO")
{
    return db.rows(QStringLiteral("SELECT %1 FROM TALTERACOES WHERE ALTCODIGO > ? ORDER BY ALTCODIGO").arg(columns),
                   {after});
}

const QByteArray kPhoto("BYTES-DA-FOTOGRAFIA");

// A value of the column's kind (two different ones, by `variant`) and how the log writes it.
std::pair<QVariant, QString> sample(const FieldDef &def, int variant)
{
    switch (def.type) {
    case FieldType::Integer:
        return {6 + variant, QString::number(6 + variant)};
    case FieldType::Money:
        return variant ? std::pair<QVariant, QString>{1234.5, "1234,50"} : std::pair<QVariant, QString>{0.1, "0,10"};
    case FieldType::Date:
        return variant ? std::pair<QVariant, QString>{QDate(2011, 5, 3), "03/05/2011"}
                       : std::pair<QVariant, QString>{QDate(2012, 12, 25), "25/12/2012"};
    case FieldType::Blob:
        return {kPhoto + char('0' + variant), "(fotografia)"};
    case FieldType::Text:
        break;
    }
    if (def.name == "USUSENHA" || def.name == "USUHASH")
        return {QString("SEGREDO%1").arg(variant), "(senha)"};
    const QString text = def.inputMask.isEmpty() ? QString("%1Ç VALOR").arg(variant).left(def.size)
                                                 : QString("11%1-222-333-44").arg(variant);
    return {text, text};
}

// The columns a change of every column writes: all but the code and the
// closing of a book, which has rules of its own.
FieldDefs changedColumns(const TableDef &t)
{
    FieldDefs columns;
    for (const FieldDef &def : t.columns)
        if (!def.required && !def.name.startsWith("LIVFECHADO") && def.name != "LIVREABERTURA")
            columns << def;
    return columns;
}

} // namespace

class TestAlteracoes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void everyOperationOnEveryTableIsLogged_data()
    {
        QTest::addColumn<QString>("stem");
        for (const TableDef &t : Schema::tables())
            QTest::newRow(qPrintable(t.table)) << t.stem;
    }

    // Inserted, every column changed, deleted through the program's table:
    // three lines with the account and workstation the program told the
    // engine, each column's value or change; a photograph and a password
    // never with their bytes.
    void everyOperationOnEveryTableIsLogged()
    {
        QFETCH(QString, stem);
        TestDatabase db;
        const std::unique_ptr<TDM> dm = db.connect();
        ChangeLog::tellSession(dm->SQLConnection1(), "maria", "SECRETARIA-1");
        const TableDef &t = Schema::table(stem);
        TableDataset *table = dm->findChild<TableDataset *>("TB" + stem);
        table->open();
        const int before = lastLine(db);
        const auto write = [&](int variant) {
            for (const FieldDef &def : changedColumns(t))
                table->fieldByName(def.name)->setValue(sample(def, variant).first);
            table->post();
            table->applyUpdates(0);
        };
        table->insert();
        table->fieldByName(t.columns.first().name)->setAsInteger(900);
        write(0);
        table->edit();
        write(1);
        table->del();
        table->applyUpdates(0);

        QStringList inserted, changed, deleted;
        for (const FieldDef &def : changedColumns(t)) {
            const QString first = sample(def, 0).second, second = sample(def, 1).second;
            inserted << def.name + ": " + first;
            changed << def.name + ": "
                           + (def.type == FieldType::Blob ? "fotografia alterada"
                              : first == "(senha)"        ? "senha alterada"
                                                          : first + " → " + second);
            deleted << def.name + ": " + second;
        }
        const QString table_ = t.table;
        QList<QVariantList> lines = linesAfter(
            db, before, "ALTTABELA, ALTREGISTRO, ALTOPERACAO, ALTCONTA, ALTESTACAO, CAST(ALTDETALHES AS VARCHAR(2000))");
        // A member's roll changes add rows to its history (TROL), logged too.
        lines.removeIf([&](const QVariantList &line) { return line[0].toString() != table_; });
        QCOMPARE(lines,
                 (QList<QVariantList>{{table_, 900, "INCLUSÃO", "maria", "SECRETARIA-1", inserted.join("; ")},
                                      {table_, 900, "ALTERAÇÃO", "maria", "SECRETARIA-1", changed.join("; ")},
                                      {table_, 900, "EXCLUSÃO", "maria", "SECRETARIA-1", deleted.join("; ")}}));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TALTERACOES WHERE ALTDETALHES CONTAINING 'BYTES-DA' "
                           "OR ALTDETALHES CONTAINING 'SEGREDO'").toInt(), 0);
    }

    // A second workstation's changes carry its own account and computer, a
    // plain connection's are "(fora do programa)"; each with the database user.
    void everyConnectionIsLoggedAsItsOwn()
    {
        TestDatabase db;
        const std::unique_ptr<TDM> first = db.connect("primeira"), second = db.connect("segunda");
        ChangeLog::tellSession(first->SQLConnection1(), "maria", "SECRETARIA-1");
        ChangeLog::tellSession(second->SQLConnection1(), "joao", "TESOURARIA-2");
        const int before = lastLine(db);
        for (TDM *dm : {first.get(), second.get()}) {
            dm->TBCARGO->open();
            dm->TBCARGO->insert();
            dm->TBCARGOCARCODIGO->setAsInteger(dm == first.get() ? 1 : 2);
            dm->TBCARGO->post();
            dm->TBCARGO->applyUpdates(0);
        }
        db.exec("UPDATE TCARGO SET CARSALARIO = 1500 WHERE CARCODIGO = 2");
        QCOMPARE(linesAfter(db, before),
                 (QList<QVariantList>{{"TCARGO", 1, "INCLUSÃO", "maria", "SECRETARIA-1", "SYSDBA"},
                                      {"TCARGO", 2, "INCLUSÃO", "joao", "TESOURARIA-2", "SYSDBA"},
                                      {"TCARGO", 2, "ALTERAÇÃO", "(fora do programa)", "-", "SYSDBA"}}));
    }

    // Neither through the program (its message in Portuguese alone) nor
    // through a plain connection; nor is a line numbered or timed by a tool.
    void theLogRefusesChangeAndDeletion()
    {
        TestDatabase db;
        const std::unique_ptr<TDM> dm = db.connect();
        db.exec("INSERT INTO TCARGO (CARCODIGO) VALUES (1)");
        const QList<QVariantList> log = db.rows("SELECT * FROM TALTERACOES ORDER BY 1");
        const QString refusal = "O histórico de alterações não pode ser alterado nem apagado: ele guarda quem fez cada "
                                "alteração e quando.";
        for (const char *sql : {"UPDATE TALTERACOES SET ALTCONTA = 'outra'", "DELETE FROM TALTERACOES"}) {
            QCOMPARE(dbErrorOf([&] { Statements::run(dm->SQLConnection1(), sql); }), refusal);
            QVERIFY(dbErrorOf([&] { db.exec(sql); }).startsWith(refusal));
        }
        QCOMPARE(db.rows("SELECT * FROM TALTERACOES ORDER BY 1"), log);
        // A line a tool writes takes the engine's number and time, whatever it says.
        db.exec("INSERT INTO TALTERACOES (ALTCODIGO, ALTDATAHORA, ALTTABELA, ALTOPERACAO) "
                "VALUES (1, '2001-01-01 00:00', 'TCARGO', 'EXCLUSÃO')");
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TALTERACOES WHERE ALTCODIGO = 1 OR ALTDATAHORA < '2002-01-01'").toInt(),
                 1);
    }

    // A wrong password and an unknown name are refused sign-ins, the right
    // pair a sign-in; what the account then changes carries its name and
    // this computer.
    void signInsAreLogged()
    {
        ProgramFixture fx;
        Messages::Recorder messages;
        TFLogin login;
        const int before = lastLine(fx.db);
        for (const auto &[name, password] : QList<std::pair<QString, QString>>{
                 {"master", "errada"}, {"ninguem", "ravlen"}, {"master", "ravlen"}}) {
            login.txtLogin->setText(name);
            login.txtSenha->setText(password);
            login.btnEntrarClick();
        }
        DM->TBCARGO->open();
        DM->TBCARGO->insert();
        DM->TBCARGOCARCODIGO->setAsInteger(5);
        DM->TBCARGO->applyUpdates(0);
        const QString here = ChangeLog::workstationName();
        QCOMPARE(linesAfter(fx.db, before,
                            "ALTTABELA, COALESCE(ALTREGISTRO, -1), ALTOPERACAO, ALTCONTA, ALTESTACAO, "
                            "COALESCE(CAST(ALTDETALHES AS VARCHAR(200)), '-')"),
                 (QList<QVariantList>{{"TUSUARIO", 1, "ENTRADA RECUSADA", "master", here, "Senha ou Login Incorretos !"},
                                      {"TUSUARIO", -1, "ENTRADA RECUSADA", "ninguem", here,
                                       "Senha ou Login Incorretos !"},
                                      {"TUSUARIO", 1, "ENTRADA", "master", here, "-"},
                                      {"TCARGO", 5, "INCLUSÃO", "master", here, ""}}));
    }
};

QTEST_MAIN(TestAlteracoes)
#include "tst_alteracoes.moc"
