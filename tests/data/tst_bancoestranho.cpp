// A database that is not what the program expects (a column changed by hand,
// a copy from another system) gets a clear answer and never a crash; and the
// reader converts every type the engine can hand it.
#include "ProgramFixture.h"

#include "Program.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"
#include "main/UMenu.h"
#include "provider/QueryDataset.h"
#include "signin/ULogin.h"
#include "uikit/Messages.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace {

// The statements that give `column` of `table` another type, rows dropped with it.
QStringList retype(const QString &table, const QString &column, const QString &type)
{
    return {QStringLiteral("ALTER TABLE %1 DROP %2").arg(table, column),
            QStringLiteral("ALTER TABLE %1 ADD %2 %3").arg(table, column, type)};
}

// Runs `alteration` as a database tool would, the triggers on the tables
// dropped first: they use the columns, and the engine keeps a used column
// from being dropped, so whoever changes one by hand drops them before.
void alter(const TestDatabase &db, const QStringList &alteration)
{
    for (const QVariantList &r : db.rows("SELECT TRIM(RDB$TRIGGER_NAME) FROM RDB$TRIGGERS WHERE "
                                         "COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$RELATION_NAME <> 'TALTERACOES'"))
        db.exec("DROP TRIGGER " + r[0].toString());
    for (const QString &sql : alteration)
        db.exec(sql);
}

TableDataset *tableOf(TDM &dm, const QString &stem)
{
    return dm.findChild<TableDataset *>(QStringLiteral("TB") + stem);
}

} // namespace

class TestStrangeDatabase : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    // A table that does not fit is refused on open, naming what is wrong.
    void aTableThatDoesNotFitIsNamed_data()
    {
        QTest::addColumn<QStringList>("alteration");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const QStringList &sql, const char *stem, const char *message) {
            QTest::newRow(name) << sql << QString(stem) << QString::fromUtf8(message);
        };
        row("texto onde se lê número", retype("TMEMBRO", "MEMIGREJA", "VARCHAR(12)"), "MEMBRO",
            "A coluna MEMIGREJA da tabela TMEMBRO é VARCHAR(12) no banco; o programa espera INTEGER.");
        row("coluna que falta", {"ALTER TABLE TMEMBRO DROP MEMNOME"}, "MEMBRO",
            "A coluna MEMNOME da tabela TMEMBRO não existe no banco; o programa espera VARCHAR(50).");
        row("tabela que falta", {"DROP TABLE TCARGO"}, "CARGO",
            "A tabela TCARGO não existe no banco; o programa espera uma tabela com as colunas CARCODIGO INTEGER, "
            "CARDESCRICAO VARCHAR(40), CARSALARIO DOUBLE PRECISION.");
        row("hora onde se lê data", retype("TMEMBRO", "MEMDATANASC", "TIME"), "MEMBRO",
            "A coluna MEMDATANASC da tabela TMEMBRO é TIME no banco; o programa espera DATE.");
        row("texto mais curto", retype("TMEMBRO", "MEMNOME", "VARCHAR(10)"), "MEMBRO",
            "A coluna MEMNOME da tabela TMEMBRO é VARCHAR(10) no banco; o programa espera VARCHAR(50).");
        row("texto onde se lê fotografia", retype("TMEMBRO", "MEMFOTO", "VARCHAR(100)"), "MEMBRO",
            "A coluna MEMFOTO da tabela TMEMBRO é VARCHAR(100) no banco; o programa espera BLOB SUB_TYPE BINARY.");
        row("blob de texto onde se lê texto", retype("TLIVRO", "LIVOBSERVACAO", "BLOB SUB_TYPE TEXT"), "LIVRO",
            "A coluna LIVOBSERVACAO da tabela TLIVRO é BLOB SUB_TYPE TEXT no banco; o programa espera VARCHAR(250).");
        row("inteiro onde se lê valor", retype("TCARGO", "CARSALARIO", "INTEGER"), "CARGO",
            "A coluna CARSALARIO da tabela TCARGO é INTEGER no banco; o programa espera DOUBLE PRECISION.");
        row("booleano onde se lê número", retype("TEVENTO", "EVEHORA", "BOOLEAN"), "EVENTO",
            "A coluna EVEHORA da tabela TEVENTO é BOOLEAN no banco; o programa espera INTEGER.");
        row("data e hora onde se lê data", retype("TMEMBRO", "MEMDATANASC", "TIMESTAMP"), "MEMBRO",
            "A coluna MEMDATANASC da tabela TMEMBRO é TIMESTAMP no banco; o programa espera DATE.");
        row("decimal onde se lê inteiro", retype("TLIVRO", "LIVMES", "NUMERIC(9,2)"), "LIVRO",
            "A coluna LIVMES da tabela TLIVRO é NUMERIC(9,2) no banco; o programa espera INTEGER.");
    }
    void aTableThatDoesNotFitIsNamed()
    {
        QFETCH(QStringList, alteration);
        QFETCH(QString, stem);
        QFETCH(QString, message);
        TestDatabase db;
        alter(db, alteration);
        auto dm = db.connect();
        TableDataset *table = tableOf(*dm, stem);
        const QString error = dbErrorOf([&] { table->open(); });
        QCOMPARE(error.section(u'\n', 0, 0), message);
        QVERIFY(error.contains("A tabela não foi aberta"));
        QVERIFY(!table->active());
        QVERIFY(dbErrorOf([&] { dm->TBFUNCIONARIO->open(); }).isEmpty()); // the others open as ever
    }

    // Forms the program can read and write as its own are read as it stored them.
    void aTableOfAnotherButFittingFormIsRead_data()
    {
        QTest::addColumn<QStringList>("alteration");
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char *name, const QStringList &sql, const char *insert, const char *stem,
                            const char *column, const QVariant &value) {
            QTest::newRow(name) << sql << QString::fromUtf8(insert) << QString(stem) << QString(column) << value;
        };
        row("texto mais largo", retype("TMEMBRO", "MEMNOME", "VARCHAR(80) CHARACTER SET WIN1252"),
            "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'JOÃO')", "MEMBRO", "MEMNOME", QString("JOÃO"));
        row("texto em UTF8", retype("TMEMBRO", "MEMNOME", "VARCHAR(50) CHARACTER SET UTF8"),
            "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'CONCEIÇÃO €')", "MEMBRO", "MEMNOME",
            QString("CONCEIÇÃO €"));
        row("CHAR sem os brancos", retype("TMEMBRO", "MEMUF", "CHAR(2) CHARACTER SET WIN1252"),
            "INSERT INTO TMEMBRO (MEMCODIGO, MEMUF) VALUES (1, 'S')", "MEMBRO", "MEMUF", QString("S"));
        row("valor em NUMERIC", retype("TCARGO", "CARSALARIO", "NUMERIC(15,2)"),
            "INSERT INTO TCARGO (CARCODIGO, CARSALARIO) VALUES (1, 1234.56)", "CARGO", "CARSALARIO", 1234.56);
        row("inteiro em BIGINT", retype("TMEMBRO", "MEMIGREJA", "BIGINT"),
            "INSERT INTO TMEMBRO (MEMCODIGO, MEMIGREJA) VALUES (1, 7)", "MEMBRO", "MEMIGREJA", 7);
        row("inteiro maior que 32 bits", retype("TMEMBRO", "MEMIGREJA", "BIGINT"),
            "INSERT INTO TMEMBRO (MEMCODIGO, MEMIGREJA) VALUES (1, 9000000000)", "MEMBRO", "MEMIGREJA",
            qlonglong(9000000000));
        row("colunas e tabelas a mais",
            {"ALTER TABLE TMEMBRO ADD MEMHORA TIME", "ALTER TABLE TMEMBRO ADD MEMLISTA INTEGER[3]",
             "CREATE TABLE TOUTRA (X BOOLEAN)"},
            "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMHORA) VALUES (1, 'ANA', '10:00')", "MEMBRO", "MEMNOME",
            QString("ANA"));
    }
    void aTableOfAnotherButFittingFormIsRead()
    {
        QFETCH(QStringList, alteration);
        QFETCH(QString, insert);
        QFETCH(QString, stem);
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        TestDatabase db;
        alter(db, alteration);
        db.exec(insert);
        auto dm = db.connect();
        TableDataset *table = tableOf(*dm, stem);
        QCOMPARE(dbErrorOf([&] { table->open(); }), QString());
        QCOMPARE(table->fieldByName(column)->value(), value);
        // ...and written back: the row is found by the values it was read with.
        const QString other = stem == "MEMBRO" ? "MEMCELULAR" : "CARDESCRICAO";
        table->edit();
        table->fieldByName(other)->setValue(QString("9999"));
        table->post();
        QCOMPARE(dbErrorOf([&] { table->applyUpdates(0); }), QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT %1 FROM T%2").arg(other, stem)).toString(), QString("9999"));
    }

    // Through the real program's start: the message, and the program goes on
    // where it can; a wrong account table refuses the sign-in with it.
    void theProgramSaysWhatIsWrongAndGoesOn_data()
    {
        QTest::addColumn<QStringList>("alteration");
        QTest::addColumn<bool>("signsIn");
        QTest::addColumn<QString>("message");
        QTest::newRow("membros") << retype("TMEMBRO", "MEMIGREJA", "VARCHAR(12)") << true
                                 << QString("A coluna MEMIGREJA da tabela TMEMBRO é VARCHAR(12) no banco; o programa "
                                            "espera INTEGER.");
        QTest::newRow("contas") << retype("TUSUARIO", "USULOGIN", "INTEGER") << false
                                << QString("A coluna USULOGIN da tabela TUSUARIO é INTEGER no banco; o programa "
                                           "espera VARCHAR(20).");
    }
    void theProgramSaysWhatIsWrongAndGoesOn()
    {
        QFETCH(QStringList, alteration);
        QFETCH(bool, signsIn);
        QFETCH(QString, message);
        ProgramFixture fx;
        alter(fx.db, alteration);
        fx.db.disconnect();
        Messages::Recorder recorder;
        std::unique_ptr<TFLogin> login(createSignInWindow([] {}));
        QVERIFY(login->dataModuleReady());
        login->show();
        QSignalSpy signedIn(login.get(), &TFLogin::signedIn);
        login->txtLogin->setText("master");
        login->txtSenha->setText("ravlen");
        login->btnEntrar->click();
        QCOMPARE(signedIn.count(), signsIn ? 1 : 0);
        QVERIFY(!recorder.shown.isEmpty());
        QCOMPARE(recorder.shown.first().kind, Messages::Shown::Error);
        QVERIFY2(recorder.shown.first().text.startsWith(message), qPrintable(recorder.shown.first().text));
        if (signsIn) {
            QVERIFY(FMenu && FMenu->isVisible());
            QCOMPARE(recorder.shown.size(), 1); // said once, in one box
            QCOMPARE(dbErrorOf([] { DM->TBFUNCIONARIO->open(); DM->TBLIVRO->open(); }), QString());
            QVERIFY(dbErrorOf([] { DM->TBMEMBRO->open(); }).startsWith(message));
        }
    }

    // Every type the engine can hand a report query, read as the program holds it.
    void theReaderConvertsEveryType()
    {
        TestDatabase db;
        db.exec("CREATE TABLE TTIPOS (A SMALLINT, B INTEGER, C BIGINT, D NUMERIC(9,2), E NUMERIC(18,4), "
                "F DECIMAL(5,1), G FLOAT, H DOUBLE PRECISION, I DATE, J TIMESTAMP, K TIME, L BOOLEAN, "
                "M CHAR(5) CHARACTER SET WIN1252, N VARCHAR(10) CHARACTER SET WIN1252, "
                "O VARCHAR(10) CHARACTER SET UTF8, P BLOB SUB_TYPE BINARY, Q INTEGER)");
        db.exec("INSERT INTO TTIPOS VALUES (-7, 123456, 9000000000, 12.34, -1.5, 2.5, 0.5, 2.25, '2024-02-29', "
                "'2011-05-02 23:59:00', '12:30:00', TRUE, 'AB', 'AÇÃO', 'ÇÉ€', X'FF00', NULL)");
        auto dm = db.connect();
        QueryDataset q("QTIPOS", dm->connectionName());
        q.addSql("SELECT * FROM TTIPOS");
        q.open();
        const QList<std::tuple<const char *, FieldType, QVariant>> expected = {
            {"A", FieldType::Integer, -7},
            {"B", FieldType::Integer, 123456},
            {"C", FieldType::Integer, qlonglong(9000000000)},
            {"D", FieldType::Money, 12.34},
            {"E", FieldType::Money, -1.5},
            {"F", FieldType::Money, 2.5},
            {"G", FieldType::Money, 0.5},
            {"H", FieldType::Money, 2.25},
            {"I", FieldType::Date, QDate(2024, 2, 29)},
            {"J", FieldType::Date, QDate(2011, 5, 2)},
            {"K", FieldType::Text, QString("12:30:00.0000")},
            {"L", FieldType::Text, QString("TRUE")},
            {"M", FieldType::Text, QString("AB   ")},
            {"N", FieldType::Text, QString("AÇÃO")},
            {"O", FieldType::Text, QString("ÇÉ€")},
            {"P", FieldType::Blob, QByteArray("\xFF\x00", 2)},
            {"Q", FieldType::Integer, QVariant()},
        };
        for (const auto &[name, type, value] : expected) {
            Field *f = q.fieldByName(QString::fromLatin1(name));
            QVERIFY2(f->type() == type, name);
            QVERIFY2(f->value().isNull() == value.isNull(), name);
            if (!value.isNull())
                QVERIFY2(f->value() == value, qPrintable(QStringLiteral("%1: %2").arg(name, f->value().toString())));
        }

        db.exec("CREATE TABLE TLISTA (A INTEGER[3])");
        q.setSql({"SELECT A FROM TLISTA"});
        QCOMPARE(dbErrorOf([&] { q.open(); }), QString("A coluna A é do tipo ARRAY, que o programa não lê."));
    }

    // A date-time keeps its time; a text longer than a parameter holds is cut
    // between characters, never inside one.
    void parametersKeepWhatTheyCarry()
    {
        TestDatabase db;
        auto dm = db.connect();
        QueryDataset q("QPARAM", dm->connectionName());
        q.setSql({"SELECT EXTRACT(HOUR FROM CAST(? AS TIMESTAMP)) * 100 + EXTRACT(MINUTE FROM CAST(? AS TIMESTAMP)), "
                  "CHAR_LENGTH(CAST(? AS VARCHAR(8191) CHARACTER SET UTF8)), CAST(? AS TIME) FROM RDB$DATABASE"});
        const QDateTime at(QDate(2026, 12, 9), QTime(14, 35));
        q.setParam(0, at);
        q.setParam(1, at);
        q.setParam(2, QString::fromUtf8("é😀").repeated(5000)); // two and four bytes in UTF-8, 😀 two UTF-16 units
        q.setParam(3, QTime(8, 5, 30));
        QCOMPARE(dbErrorOf([&] { q.open(); }), QString());
        QCOMPARE(q.fields()[0]->asInteger(), 1435);
        QCOMPARE(q.fields()[1]->asInteger(), 8191); // the characters a UTF-8 parameter holds
        QCOMPARE(q.fields()[2]->asString(), QString("08:05:30.0000"));
    }
};

QTEST_MAIN(TestStrangeDatabase)
#include "tst_bancoestranho.moc"
