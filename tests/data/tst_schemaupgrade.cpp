// A stored database of an older structure brought up to date at start-up:
// it gains exactly the categories table, the three columns of the movements
// and the five of the accounts, every row it held stays as it was but the
// passwords, which become hashes that the old passwords match and leave
// nothing of themselves in the file; a copy tagged "antes-da-atualizacao" is
// made and checked first (and restores the old database), a second start
// does nothing, a failure at any step leaves the old level, and a database
// that may not be altered is left alone with a message. An old database
// still opens in every table the program reads.
#include "FirebirdServer.h"
#include "TestDatabase.h"

#include "DemoData.h"
#include "uikit/Messages.h"
#include "datamodule/Accounts.h"
#include "cashbook/Reconciliation.h"
#include "datamodule/ChangeLog.h"
#include "datamodule/Documents.h"
#include "datamodule/Roll.h"
#include "datamodule/Schema.h"
#include "datamodule/SchemaUpgrade.h"
#include "dataset/Win1252.h"
#include "backup/Backup.h"
#include "dataset/DbError.h"
#include "main/StartupUpgrade.h"

#include <QProcess>
#include <QProgressDialog>
#include <QtTest>

namespace {

// The change log and the closed months' rules (level 3): a trigger on every table.
const QStringList kLevelThreeObjects = {
    "TALTERACOES",           "GEN_TALTERACOES",      "KELMARA_RECUSA",
    "TALTERACOES_INCLUSAO",  "TALTERACOES_PROTECAO", "TMEMBRO_HISTORICO",     "TFUNCIONARIO_HISTORICO",
    "TCARGO_HISTORICO",      "TLIVRO_HISTORICO",     "TMOVIMETACOES_HISTORICO", "TUSUARIO_HISTORICO",
    "TEVENTO_HISTORICO",     "TPARAMETROS_HISTORICO", "TCATEGORIA_HISTORICO", "TLIVRO_FECHAMENTO",
    "TMOVIMETACOES_FECHAMENTO"};
// The tables of the documents' level (5), and the objects of that level.
const QStringList kDocumentTables = {"TMODELO", "TDOCUMENTO"};
const QStringList kDocumentObjects = {"TDOCUMENTO_NUMERO"};
// The imported statement lines (level 6): each once, a movement matched once.
const QStringList kStatementObjects = {"TEXTRATO_IDENTIDADE", "TEXTRATO_MOVIMENTO"};
// The roll of members (level 4): its history table, the member's columns and the table's log trigger.
const QStringList kRollColumns = {"MEMSITUACAO",     "MEMNUMROL",        "MEMDATAADMISSAO", "MEMFORMAADMISSAO",
                                  "MEMIGREJAORIGEM", "MEMDATABATISMO",   "MEMDATASAIDA",    "MEMMOTIVOSAIDA",
                                  "MEMIGREJADESTINO", "MEMCONSENTIMENTO", "MEMFINALIDADE",  "MEMCONSENTIDOPOR",
                                  "MEMRESPONSAVEL",  "MEMREVOGACAO"};
// The day of a member's anonymisation (level 7).
const QStringList kAnonymisationColumns = {"TMEMBRO.MEMANONIMIZADOEM"};
QStringList rollPieces()
{
    QStringList pieces{"TROL"};
    for (const QString &column : kRollColumns)
        pieces << "TMEMBRO." + column;
    return pieces;
}
const QStringList kAddedBeforeTheRoll = QStringList{"TCATEGORIA",           "TLIVRO.LIVFECHADOEM",    "TLIVRO.LIVFECHADOPOR",
                                       "TLIVRO.LIVREABERTURA", "TMOVIMETACOES.MOVCATEGORIA", "TMOVIMETACOES.MOVMEMBRO",
                                       "TMOVIMETACOES.MOVDOCUMENTO", "TUSUARIO.USUNOME", "TUSUARIO.USUPERFIL",
                                       "TUSUARIO.USUATIVO",    "TUSUARIO.USUHASH",       "TUSUARIO.USUTROCARSENHA"};
// The objects of the log and the closed months as the latest level has
// them: the roll's and the documents' tables logged too.
QStringList logObjects()
{
    QStringList objects = kLevelThreeObjects;
    objects.insert(objects.indexOf("TCATEGORIA_HISTORICO") + 1, "TROL_HISTORICO");
    objects.insert(objects.indexOf("TROL_HISTORICO") + 1, "TMODELO_HISTORICO");
    objects.insert(objects.indexOf("TMODELO_HISTORICO") + 1, "TDOCUMENTO_HISTORICO");
    objects.insert(objects.indexOf("TDOCUMENTO_HISTORICO") + 1, "TEXTRATO_HISTORICO");
    return objects;
}
// What a database lacks, in the order it is added: the tables, the columns
// (the members' first, as TMEMBRO is the first table), the engine's objects.
QStringList addedAbove(const QStringList &tables, const QStringList &columns)
{
    const QStringList roll = rollPieces();
    return tables + QStringList{roll.first()} + kDocumentTables + QStringList{"TEXTRATO"} + roll.mid(1)
           + kAnonymisationColumns + columns
           + logObjects() + QStringList{"TMEMBRO_ROL"} + kDocumentObjects + kStatementObjects;
}
const QStringList kAdded = addedAbove(kAddedBeforeTheRoll.mid(0, 1), kAddedBeforeTheRoll.mid(1));

// What the documents' level adds to the structure but the log's triggers:
// the models of 3000 characters, the documents, the unique index of their numbers.
// What the statement's level adds to the structure but its log trigger.
QStringList statementStructure()
{
    return {"TEXTRATO.EXTCODIGO 8 0 NOT NULL", "TEXTRATO.EXTCONTA 37 60 ", "TEXTRATO.EXTIDENTIDADE 37 200 ",
            "TEXTRATO.EXTDATA 12 0 ", "TEXTRATO.EXTVALOR 27 0 ", "TEXTRATO.EXTDESCRICAO 37 100 ",
            "TEXTRATO.EXTSITUACAO 37 15 ", "TEXTRATO.EXTMOVIMENTO 8 0 ", "TEXTRATO NOT NULL", "TEXTRATO PRIMARY KEY",
            "INDEX TEXTRATO_IDENTIDADE", "INDEX TEXTRATO_MOVIMENTO"};
}

QStringList documentStructure()
{
    return {"TMODELO.MODCODIGO 8 0 NOT NULL", "TMODELO.MODTIPO 37 40 ", "TMODELO.MODTEXTO 37 3000 ",
            "TMODELO NOT NULL", "TMODELO PRIMARY KEY", "TDOCUMENTO.DOCCODIGO 8 0 NOT NULL",
            "TDOCUMENTO.DOCMEMBRO 8 0 ", "TDOCUMENTO.DOCTIPO 37 40 ", "TDOCUMENTO.DOCANO 8 0 ",
            "TDOCUMENTO.DOCNUMERO 8 0 ", "TDOCUMENTO.DOCDATA 12 0 ", "TDOCUMENTO.DOCDETALHES 37 250 ",
            "TDOCUMENTO NOT NULL", "TDOCUMENTO PRIMARY KEY", "INDEX " + Documents::kNumberIndex};
}

// Every column of every table of the database, with its type, width and
// whether it may be empty; then every constraint; then the triggers,
// sequences, exceptions and indices the program made.
QStringList structureOf(const TestDatabase &db)
{
    QStringList lines;
    for (const QVariantList &r :
         db.rows("SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, "
                 "COALESCE(f.RDB$CHARACTER_LENGTH, 0), COALESCE(rf.RDB$NULL_FLAG, 0), rf.RDB$FIELD_POSITION "
                 "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                 "JOIN RDB$RELATIONS r ON r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
                 "WHERE r.RDB$SYSTEM_FLAG = 0 ORDER BY 1, rf.RDB$FIELD_POSITION"))
        lines << QStringLiteral("%1.%2 %3 %4 %5").arg(r[0].toString(), r[1].toString()).arg(r[2].toInt())
                     .arg(r[3].toInt()).arg(r[4].toInt() ? "NOT NULL" : "");
    for (const QVariantList &r : db.rows("SELECT TRIM(c.RDB$RELATION_NAME), TRIM(c.RDB$CONSTRAINT_TYPE) "
                                         "FROM RDB$RELATION_CONSTRAINTS c JOIN RDB$RELATIONS r ON "
                                         "r.RDB$RELATION_NAME = c.RDB$RELATION_NAME WHERE r.RDB$SYSTEM_FLAG = 0 "
                                         "ORDER BY 1, 2"))
        lines << r[0].toString() + u' ' + r[1].toString();
    for (const QVariantList &r :
         db.rows("SELECT 'TRIGGER ' || TRIM(RDB$TRIGGER_NAME) FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                 "UNION ALL SELECT 'SEQUENCE ' || TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE RDB$SYSTEM_FLAG = 0 "
                 "UNION ALL SELECT 'EXCEPTION ' || TRIM(RDB$EXCEPTION_NAME) FROM RDB$EXCEPTIONS WHERE RDB$SYSTEM_FLAG = 0 "
                 "UNION ALL SELECT 'INDEX ' || TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE RDB$SYSTEM_FLAG = 0 "
                 "AND RDB$INDEX_NAME NOT STARTING WITH 'RDB$' ORDER BY 1"))
        lines << r[0].toString();
    return lines;
}

// The columns each table has now, by table; without the accounts, whose
// passwords an upgrade changes.
QMap<QString, QStringList> columnsOf(const TestDatabase &db, bool withAccounts = true)
{
    QMap<QString, QStringList> columns;
    for (const QVariantList &r : db.rows("SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME) "
                                         "FROM RDB$RELATION_FIELDS rf JOIN RDB$RELATIONS r ON "
                                         "r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME WHERE r.RDB$SYSTEM_FLAG = 0 "
                                         "ORDER BY rf.RDB$FIELD_POSITION"))
        columns[r[0].toString()] << r[1].toString();
    if (!withAccounts)
        columns.remove("TUSUARIO");
    return columns;
}

// Whether the bytes of the database file hold `text` as the engine stores it.
bool fileHolds(const TestDatabase &db, const QString &text)
{
    QFile file(db.path());
    QByteArray bytes;
    return file.open(QIODevice::ReadOnly) && Win1252::encode(text, bytes) && file.readAll().contains(bytes);
}

// Every row of the given tables, with the given columns, by code; but the
// parameter row that keeps the level.
QMap<QString, QList<QVariantList>> rowsOf(const TestDatabase &db, const QMap<QString, QStringList> &columns)
{
    QMap<QString, QList<QVariantList>> rows;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        const QString level = it.key() == "TPARAMETROS" ? QStringLiteral("WHERE PARCODIGO <> 109") : QString();
        rows.insert(it.key(), db.rows(QStringLiteral("SELECT %1 FROM %2 %3 ORDER BY 1")
                                          .arg(it.value().join(", "), it.key(), level)));
    }
    return rows;
}

// An old database with the rows a church keeps: members with photographs,
// employees, books, movements, events and the church's name.
void fill(const TestDatabase &db)
{
    DemoSizes sizes;
    sizes.members = 60;
    sizes.employees = 4;
    sizes.positions = 3;
    sizes.books = 3;
    sizes.movements = 90;
    sizes.events = 8;
    fillDemoData(db.path(), sizes);
}

QList<BackupCopy> copiesBeside(const TestDatabase &db)
{
    return BackupFolder::list(Backup::folderForRun(db.path()));
}

bool errorShown(const Messages::Recorder &messages, const QString &part)
{
    for (const Messages::Shown &s : messages.shown)
        if (s.kind == Messages::Shown::Error && s.text.contains(part))
            return true;
    return false;
}

// The text of each trigger the program made, by name.
QMap<QString, QString> triggerTexts(const TestDatabase &db)
{
    QMap<QString, QString> texts;
    for (const QVariantList &r : db.rows("SELECT TRIM(RDB$TRIGGER_NAME), RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS "
                                         "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"))
        texts.insert(r[0].toString(), QString::fromUtf8(r[1].toByteArray()));
    return texts;
}

// The steps of bringing a database of `level` up to date, as they are named.
QStringList stepsOfAnUpgrade(int level)
{
    TestDatabase db(TestDatabase::levelTemplate(level));
    const std::unique_ptr<TDM> dm = db.connect(QStringLiteral("passos"));
    QStringList steps;
    SchemaUpgrade::bringUpToDate(dm->SQLConnection1(), [&](const QString &step) { steps << step; });
    return steps;
}

} // namespace

class TestSchemaUpgrade : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    void newDatabasesAreAtTheProgramsLevel()
    {
        TestDatabase db;
        const std::unique_ptr<TDM> dm = db.connect();
        QCOMPARE(SchemaUpgrade::storedLevel(dm->SQLConnection1()), SchemaUpgrade::kLevel);
        QVERIFY(SchemaUpgrade::missing(dm->SQLConnection1()).isEmpty());
        QVERIFY(SchemaUpgrade::categoriesAvailable(dm->SQLConnection1()));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TCATEGORIA").toInt(), 15);
        QCOMPARE(db.rows("SELECT CATDESCRICAO, CATTIPO FROM TCATEGORIA WHERE CATCODIGO IN (1, 7) ORDER BY 1"),
                 (QList<QVariantList>{{"DÍZIMOS", "ENTRADA"}, {"SALÁRIOS E PREBENDAS", "SAIDA"}}));
        QVERIFY(!Backup::holdsData(dm->SQLConnection1())); // what a new database holds is no data to copy

        TestDatabase old(TestDatabase::firstLevelTemplate());
        QCOMPARE(columnsOf(old).value("TMOVIMETACOES").size(), 6);
        QVERIFY(!columnsOf(old).contains("TCATEGORIA"));
    }

    // At start-up: a checked copy first, then the structure; every row of
    // the old columns as it was, the new columns empty, the level written.
    void startUpBringsAnOldDatabaseUpToDate()
    {
        TestDatabase db(TestDatabase::firstLevelTemplate());
        fill(db);
        const QStringList structureBefore = structureOf(db);
        const QMap<QString, QStringList> oldColumns = columnsOf(db, false);
        const auto rowsBefore = rowsOf(db, oldColumns);
        QVERIFY(rowsBefore.value("TMOVIMETACOES").size() == 90 && rowsBefore.value("TMEMBRO").size() == 60);
        db.disconnect(); // the file is made anew

        const std::unique_ptr<TDM> dm = db.connect();
        QVERIFY(SchemaUpgrade::behind(dm->SQLConnection1()));
        QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), kAdded);
        Messages::Recorder messages;
        QVERIFY(StartupUpgrade::run(*dm));

        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].kind == Messages::Shown::Information
                     && messages.shown[0].text.contains("antes-da-atualizacao"),
                 qPrintable(messages.shown[0].text));
        const QList<BackupCopy> copies = copiesBeside(db);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies[0].tag, StartupUpgrade::kBackupTag);
        QCOMPARE(copies[0].status, BackupCopy::Status::Checked);

        QCOMPARE(rowsOf(db, oldColumns), rowsBefore);
        QStringList added = structureOf(db);
        for (const QString &line : structureBefore)
            QVERIFY2(added.removeOne(line), qPrintable(line));
        QStringList expected{"TCATEGORIA.CATCODIGO 8 0 NOT NULL", "TCATEGORIA.CATDESCRICAO 37 50 ",
                             "TCATEGORIA.CATTIPO 37 10 ", "TLIVRO.LIVFECHADOEM 12 0 ", "TLIVRO.LIVFECHADOPOR 37 50 ",
                             "TLIVRO.LIVREABERTURA 37 250 ", "TMOVIMETACOES.MOVCATEGORIA 8 0 ",
                             "TMOVIMETACOES.MOVMEMBRO 8 0 ", "TMOVIMETACOES.MOVDOCUMENTO 37 20 ",
                             "TUSUARIO.USUNOME 37 50 ", "TUSUARIO.USUPERFIL 37 20 ", "TUSUARIO.USUATIVO 37 3 ",
                             "TUSUARIO.USUHASH 37 128 ", "TUSUARIO.USUTROCARSENHA 8 0 ", "TCATEGORIA NOT NULL",
                             "TCATEGORIA PRIMARY KEY",
                             // the log: UTF-8 texts of 60 characters, the details a text blob
                             "TALTERACOES.ALTCODIGO 8 0 NOT NULL", "TALTERACOES.ALTDATAHORA 35 0 NOT NULL",
                             "TALTERACOES.ALTCONTA 37 60 ", "TALTERACOES.ALTESTACAO 37 60 ",
                             "TALTERACOES.ALTUSUARIOBANCO 37 60 ", "TALTERACOES.ALTTABELA 37 60 NOT NULL",
                             "TALTERACOES.ALTREGISTRO 8 0 ", "TALTERACOES.ALTOPERACAO 37 60 NOT NULL",
                             "TALTERACOES.ALTDETALHES 261 0 ", "TALTERACOES NOT NULL", "TALTERACOES NOT NULL",
                             "TALTERACOES NOT NULL", "TALTERACOES NOT NULL",
                             "EXCEPTION KELMARA_RECUSA", "SEQUENCE GEN_TALTERACOES",
                             // the roll: the member's place on it and its history
                             "TMEMBRO.MEMSITUACAO 37 15 ", "TMEMBRO.MEMNUMROL 8 0 ", "TMEMBRO.MEMDATAADMISSAO 12 0 ",
                             "TMEMBRO.MEMFORMAADMISSAO 37 15 ", "TMEMBRO.MEMIGREJAORIGEM 37 50 ",
                             "TMEMBRO.MEMDATABATISMO 12 0 ", "TMEMBRO.MEMDATASAIDA 12 0 ",
                             "TMEMBRO.MEMMOTIVOSAIDA 37 15 ", "TMEMBRO.MEMIGREJADESTINO 37 50 ",
                             "TMEMBRO.MEMCONSENTIMENTO 12 0 ", "TMEMBRO.MEMFINALIDADE 37 250 ",
                             "TMEMBRO.MEMCONSENTIDOPOR 37 50 ", "TMEMBRO.MEMRESPONSAVEL 37 50 ",
                             "TMEMBRO.MEMREVOGACAO 12 0 ", "TROL.ROLCODIGO 8 0 NOT NULL", "TROL.ROLMEMBRO 8 0 ",
                             "TROL.ROLDATA 12 0 ", "TROL.ROLDESCRICAO 37 100 ", "TROL.ROLREFERENCIA 37 60 ",
                             "TROL.ROLOBSERVACAO 37 250 ", "TROL NOT NULL", "TROL PRIMARY KEY", "TRIGGER TMEMBRO_ROL",
                             // the day of an anonymisation
                             "TMEMBRO.MEMANONIMIZADOEM 12 0 "};
        expected += documentStructure() + statementStructure();
        for (const QString &object : logObjects())
            if (object.contains("HISTORICO") || object.contains("FECHAMENTO") || object.contains("_PROTECAO")
                || object.contains("_INCLUSAO"))
                expected << "TRIGGER " + object;
        added.sort();
        expected.sort();
        QCOMPARE(added, expected);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TMOVIMETACOES WHERE MOVCATEGORIA IS NOT NULL OR MOVMEMBRO IS NOT "
                           "NULL OR MOVDOCUMENTO IS NOT NULL").toInt(), 0);
        QCOMPARE(db.scalar("SELECT PARVALOR FROM TPARAMETROS WHERE PARCODIGO = 109").toString(),
                 QString::number(SchemaUpgrade::kLevel));
        QCOMPARE(db.rows("SELECT MEMSITUACAO, COUNT(*) FROM TMEMBRO GROUP BY 1"), (QList<QVariantList>{{"ATIVO", 60}}));
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TPARAMETROS").toInt(),
                 rowsBefore.value("TPARAMETROS").size() + 1);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TCATEGORIA").toInt(), 15);

        // The program's own tables at once use what was added.
        TableDataset *movements = dm->TBMOVIMENTACOES;
        movements->open();
        movements->first();
        movements->edit();
        dm->TBMOVIMENTACOESMOVCATEGORIA->setAsInteger(1);
        dm->TBMOVIMENTACOESMOVDOCUMENTO->setAsString("ENV 12");
        movements->post();
        movements->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TMOVIMETACOES WHERE MOVCATEGORIA = 1 AND MOVDOCUMENTO = 'ENV 12'")
                     .toInt(), 1);
        dm->TBCATEGORIA->open();
        QCOMPARE(dm->TBCATEGORIA->recordCount(), 15);

        // A second start finds nothing to do: no message, no copy, nothing changed.
        messages.clear();
        const QStringList structureAfter = structureOf(db);
        QVERIFY(StartupUpgrade::run(*dm));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(copiesBeside(db).size(), 1);
        QCOMPARE(structureOf(db), structureAfter);
    }

    // The accounts of a database of the level before profiles: each an active
    // Administrador, its password a hash its old password matches (an empty
    // one too), nothing of the old passwords left in the file, every other
    // row as it was; the box says what came and what to do.
    void accountsKeepTheirPasswordsAsHashes()
    {
        TestDatabase db(TestDatabase::levelTemplate(1));
        const QList<std::pair<QString, QString>> accounts{{"master", "ravlen"}, {"joana", "Sé77ção"}, {"pedro", ""}};
        db.exec("INSERT INTO TUSUARIO (USUCODIGO, USULOGIN, USUSENHA) VALUES (2, 'joana', 'Sé77ção')");
        db.exec("INSERT INTO TUSUARIO (USUCODIGO, USULOGIN, USUSENHA) VALUES (3, 'pedro', NULL)");
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
        QVERIFY(fileHolds(db, "Sé77ção"));
        const QMap<QString, QStringList> others = columnsOf(db, false);
        const auto rowsBefore = rowsOf(db, others);
        db.disconnect();

        const std::unique_ptr<TDM> dm = db.connect();
        Messages::Recorder messages;
        QVERIFY(StartupUpgrade::run(*dm));
        QCOMPARE(messages.shown.size(), 1);
        for (const char *part : {"perfil Administrador", "Configurações > Usuários", "guarda as senhas antigas"})
            QVERIFY2(messages.shown[0].text.contains(part), qPrintable(messages.shown[0].text));
        QCOMPARE(rowsOf(db, others), rowsBefore);
        QCOMPARE(db.rows("SELECT USUCODIGO, USULOGIN, COALESCE(USUSENHA, '-'), USUPERFIL, USUATIVO, USUTROCARSENHA "
                         "FROM TUSUARIO ORDER BY 1"),
                 (QList<QVariantList>{{1, "master", "-", "Administrador", "SIM", 0},
                                      {2, "joana", "-", "Administrador", "SIM", 0},
                                      {3, "pedro", "-", "Administrador", "SIM", 0}}));
        for (const auto &[name, password] : accounts)
            QVERIFY2(Accounts::check(name, password).outcome == Accounts::SignIn::Outcome::Accepted, qPrintable(name));
        QCOMPARE(int(Accounts::check("joana", "sé77ção").outcome), int(Accounts::SignIn::Outcome::Refused));
        db.disconnect();
        for (const auto &[name, password] : accounts)
            QVERIFY2(password.isEmpty() || !fileHolds(db, password), qPrintable(password));
    }

    // A database of the accounts' level gains the change log and the rules of
    // closed months (and the roll): every row of every table as it was; the
    // log's lines are the members put on the roll, then the upgrade's new
    // level, and from then on every change is logged, of a tool too.
    void theLevelBeforeGainsTheLog()
    {
        TestDatabase db(TestDatabase::levelTemplate(2));
        fill(db);
        const QMap<QString, QStringList> columns = columnsOf(db);
        const auto rowsBefore = rowsOf(db, columns);
        {
            const std::unique_ptr<TDM> dm = db.connect();
            QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), addedAbove({}, kAddedBeforeTheRoll.mid(1, 3)));
            Messages::Recorder messages;
            QVERIFY(StartupUpgrade::run(*dm));
            QVERIFY2(messages.texts().join("").contains("Histórico de Alterações"), qPrintable(messages.texts().join("")));
        }
        QCOMPARE(rowsOf(db, columns), rowsBefore);
        // The log is there when the members are put on the roll as active: each is logged so.
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TALTERACOES WHERE ALTTABELA = 'TMEMBRO' "
                           "AND CAST(ALTDETALHES AS VARCHAR(100)) = 'MEMSITUACAO: (vazio) → ATIVO'").toInt(), 60);
        db.exec("UPDATE TMEMBRO SET MEMCIDADE = 'PELOTAS DO SUL' WHERE MEMCODIGO = 1");
        QCOMPARE(db.rows("SELECT ALTTABELA, ALTREGISTRO, ALTOPERACAO, ALTCONTA FROM TALTERACOES "
                         "WHERE ALTCODIGO > (SELECT MAX(ALTCODIGO) FROM TALTERACOES WHERE "
                         "CAST(ALTDETALHES AS VARCHAR(100)) = 'MEMSITUACAO: (vazio) → ATIVO') ORDER BY ALTCODIGO"),
                 (QList<QVariantList>{{"TPARAMETROS", 109, "ALTERAÇÃO", "(fora do programa)"},
                                      {"TMEMBRO", 1, "ALTERAÇÃO", "(fora do programa)"}}));
    }

    // A database of the documents' level gains the statement lines and
    // nothing else; every row as it was; a line's identity is the engine's
    // to keep once, for any tool, and a movement is matched to one line.
    // A failure at each of its steps leaves the level before.
    void theLevelBeforeGainsTheStatementLines()
    {
        const QStringList added = QStringList{"TEXTRATO"} + kAnonymisationColumns // and the level above it
                                  + QStringList{"TEXTRATO_HISTORICO", "TEXTRATO_IDENTIDADE", "TEXTRATO_MOVIMENTO"};
        int steps = 0;
        for (int failing = 0;; ++failing) {
            TestDatabase db(TestDatabase::levelTemplate(Reconciliation::kLevel - 1));
            db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDEBITOCREDITO) "
                    "VALUES (1, 'OFERTA', 10, 'ENTRADA')");
            const QStringList structure = structureOf(db);
            const QMap<QString, QStringList> columns = columnsOf(db);
            const auto rows = rowsOf(db, columns);
            const std::unique_ptr<TDM> dm = db.connect();
            QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), added);
            int step = 0;
            const QString error = dbErrorOf([&] {
                SchemaUpgrade::bringUpToDate(dm->SQLConnection1(), [&](const QString &) {
                    if (step++ == failing)
                        throw DbError(QStringLiteral("falha provocada"));
                });
            });
            if (error.isEmpty()) { // every step passed: the upgrade is done, and logged its new level
                auto after = rowsOf(db, columns), before = rows;
                QCOMPARE(after.take("TALTERACOES").size(), before.take("TALTERACOES").size() + 1);
                QCOMPARE(after, before);
                steps = failing;
                break;
            }
            QCOMPARE(rowsOf(db, columns), rows);
            QVERIFY2(error.contains("não foi atualizado") && error.contains("falha provocada"), qPrintable(error));
            QCOMPARE(structureOf(db), structure);
            QCOMPARE(SchemaUpgrade::storedLevel(dm->SQLConnection1()), Reconciliation::kLevel - 1);
        }
        // the table, the anonymisation's column, the table's log trigger, two
        // indices, the structure; the members' log trigger and the log's
        // protection remade, the level, the end
        QCOMPARE(steps, 10);

        TestDatabase db(TestDatabase::levelTemplate(Reconciliation::kLevel - 1));
        db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDEBITOCREDITO) VALUES (1, 'PIX', 10, 'ENTRADA')");
        {
            const std::unique_ptr<TDM> dm = db.connect();
            Messages::Recorder messages;
            QVERIFY(StartupUpgrade::run(*dm));
            QVERIFY2(messages.texts().join("").contains("Importar Extrato"), qPrintable(messages.texts().join("")));
        }
        const QString insert = "INSERT INTO TEXTRATO (EXTCODIGO, EXTCONTA, EXTIDENTIDADE, EXTMOVIMENTO) VALUES (?, ?, ?, ?)";
        db.exec(insert, {1, "341 12 9", "F 77", 1});
        db.exec(insert, {2, "341 12 10", "F 77", QVariant()}); // another account
        QVERIFY(!dbErrorOf([&] { db.exec(insert, {3, "341 12 9", "F 77", QVariant()}); }).isEmpty());
        QVERIFY(!dbErrorOf([&] { db.exec(insert, {4, "341 12 9", "F 78", 1}); }).isEmpty());
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TEXTRATO").toInt(), 2);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TALTERACOES WHERE ALTTABELA = 'TEXTRATO'").toInt(), 2);
    }

    // The level before the documents gains their two tables, each logged,
    // and the unique index of the numbers, nothing else: every row as it was.
    // A failure at any of its steps leaves that level and its structure.
    void theLevelBeforeGainsTheDocuments()
    {
        const int before = Documents::kLevel - 1;
        const QStringList pieces = QStringList{"TMODELO", "TDOCUMENTO", "TEXTRATO"} + kAnonymisationColumns
                                   + QStringList{"TMODELO_HISTORICO", "TDOCUMENTO_HISTORICO", "TEXTRATO_HISTORICO",
                                                 Documents::kNumberIndex}
                                   + kStatementObjects; // and the levels above it
        QStringList steps;
        {
            TestDatabase db(TestDatabase::levelTemplate(before));
            fill(db);
            const QStringList structureBefore = structureOf(db);
            QMap<QString, QStringList> columns = columnsOf(db);
            columns.remove(ChangeLog::kTable); // which gains the new level's line only
            const auto rowsBefore = rowsOf(db, columns);
            const int lastLine = db.scalar("SELECT MAX(ALTCODIGO) FROM TALTERACOES").toInt();
            const std::unique_ptr<TDM> dm = db.connect();
            QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), pieces);
            SchemaUpgrade::bringUpToDate(dm->SQLConnection1(), [&](const QString &step) { steps << step; },
                                         Documents::kLevel);
            QCOMPARE(rowsOf(db, columns), rowsBefore);
            QCOMPARE(db.rows("SELECT ALTTABELA, ALTREGISTRO FROM TALTERACOES WHERE ALTCODIGO > ?", {lastLine}),
                     (QList<QVariantList>{{"TPARAMETROS", 109}}));
            QStringList added = structureOf(db);
            for (const QString &line : structureBefore)
                QVERIFY2(added.removeOne(line), qPrintable(line));
            added.sort();
            QStringList expected = documentStructure();
            expected << "TRIGGER TMODELO_HISTORICO" << "TRIGGER TDOCUMENTO_HISTORICO";
            expected.sort();
            QCOMPARE(added, expected);
            QCOMPARE(db.scalar("SELECT RDB$UNIQUE_FLAG FROM RDB$INDICES WHERE RDB$INDEX_NAME = ?",
                               {Documents::kNumberIndex}).toInt(), 1);
            db.exec("INSERT INTO TMODELO (MODCODIGO, MODTIPO, MODTEXTO) VALUES (1, 'Carta de Recomendação', '{NOME}')");
            QCOMPARE(db.scalar("SELECT ALTOPERACAO FROM TALTERACOES WHERE ALTTABELA = 'TMODELO'").toString(),
                     QString("INCLUSÃO"));
        }
        QCOMPARE(steps.size(), 8);
        for (int failing = 0; failing < steps.size(); ++failing) {
            TestDatabase db(TestDatabase::levelTemplate(before));
            db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
            const QStringList structure = structureOf(db);
            const auto rows = rowsOf(db, columnsOf(db));
            const std::unique_ptr<TDM> dm = db.connect();
            int step = 0;
            const QString error = dbErrorOf([&] {
                SchemaUpgrade::bringUpToDate(dm->SQLConnection1(), [&](const QString &) {
                    if (step++ == failing)
                        throw DbError(QStringLiteral("falha provocada"));
                }, Documents::kLevel);
            });
            QVERIFY2(error.contains("não foi atualizado") && error.contains("falha provocada"),
                     qPrintable(steps[failing] + ": " + error));
            QCOMPARE(structureOf(db), structure);
            QCOMPARE(rowsOf(db, columnsOf(db)), rows);
            QCOMPARE(SchemaUpgrade::storedLevel(dm->SQLConnection1()), before);
            QVERIFY(!SchemaUpgrade::available(dm->SQLConnection1(), Documents::kLevel));
        }
    }

    // The copy made before the upgrade restores the database exactly as it
    // was; the program's tables read it again, without the new features.
    void copyBeforeTheUpgradeRestoresTheOldDatabase()
    {
        TestDatabase db(TestDatabase::firstLevelTemplate());
        fill(db);
        const QMap<QString, QStringList> oldColumns = columnsOf(db);
        const auto rowsBefore = rowsOf(db, oldColumns);
        db.disconnect(); // the file is made anew
        const std::unique_ptr<TDM> dm = db.connect();
        {
            Messages::Recorder messages;
            QVERIFY(StartupUpgrade::run(*dm));
        }
        dm->TBMOVIMENTACOES->open();
        const BackupCopy copy = copiesBeside(db).value(0);
        QCOMPARE(copy.tag, StartupUpgrade::kBackupTag);
        const Backup::RestoredCopy restored = Backup::restoreForReplacing(db.path(), copy, {});
        QVERIFY(!restored.counts.rows.contains("TCATEGORIA"));
        QCOMPARE(restored.counts.movements(), 90);

        db.disconnect();
        Backup::replaceDatabase(*dm, restored, QDateTime::currentDateTime());
        QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), kAdded);
        QVERIFY(!SchemaUpgrade::categoriesAvailable(dm->SQLConnection1()));
        QCOMPARE(rowsOf(db, oldColumns), rowsBefore);
        QVERIFY(dm->TBMOVIMENTACOES->active());
        QCOMPARE(dm->TBMOVIMENTACOES->recordCount(), 90);
        QVERIFY(dm->TBMOVIMENTACOESMOVCATEGORIA->isNull());
    }

    // A database of the level before the roll: every member stays as it was
    // and is active, TROL comes with its log trigger, the members' log
    // trigger is remade to log the new columns, every other trigger is left
    // as it was, and making the members active logs nothing.
    void theLevelBeforeGainsTheRoll()
    {
        TestDatabase db(TestDatabase::levelTemplate(3));
        fill(db);
        QMap<QString, QStringList> columns = columnsOf(db);
        columns.remove("TALTERACOES");
        const auto rowsBefore = rowsOf(db, columns);
        const QMap<QString, QString> triggersBefore = triggerTexts(db);
        const int logged = db.scalar("SELECT MAX(ALTCODIGO) FROM TALTERACOES").toInt();
        {
            const std::unique_ptr<TDM> dm = db.connect();
            const QStringList roll = rollPieces(); // and the documents' level above it
            const QStringList expected = QStringList{roll.first()} + kDocumentTables + QStringList{"TEXTRATO"}
                                         + roll.mid(1) + kAnonymisationColumns
                                         + QStringList{"TROL_HISTORICO", "TMODELO_HISTORICO", "TDOCUMENTO_HISTORICO",
                                                       "TEXTRATO_HISTORICO", "TMEMBRO_ROL"}
                                         + kDocumentObjects + kStatementObjects;
            QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), expected);
            Messages::Recorder messages;
            QVERIFY(StartupUpgrade::run(*dm));
            QVERIFY2(messages.texts().join("").contains("página Rol"), qPrintable(messages.texts().join("")));
        }
        QCOMPARE(rowsOf(db, columns), rowsBefore);
        QCOMPARE(db.rows("SELECT MEMSITUACAO, COUNT(*) FROM TMEMBRO GROUP BY 1"), (QList<QVariantList>{{"ATIVO", 60}}));
        QCOMPARE(db.rows("SELECT ALTTABELA, ALTREGISTRO FROM TALTERACOES WHERE ALTCODIGO > ?", {logged}),
                 (QList<QVariantList>{{"TPARAMETROS", 109}}));
        QMap<QString, QString> triggersAfter = triggerTexts(db);
        QVERIFY(triggersAfter.take("TROL_HISTORICO").contains("ROLREFERENCIA"));
        QVERIFY(triggersAfter.take("TMEMBRO_ROL").contains("INSERT INTO TROL"));
        for (const char *documents : {"TMODELO_HISTORICO", "TDOCUMENTO_HISTORICO", "TEXTRATO_HISTORICO"}) // the levels above
            QVERIFY(triggersAfter.take(documents).contains("INSERT INTO TALTERACOES"));
        QVERIFY(!triggersBefore.value("TMEMBRO_HISTORICO").contains("MEMSITUACAO"));
        QVERIFY(triggersAfter.value("TMEMBRO_HISTORICO").contains("MEMREVOGACAO"));
        QVERIFY(triggersAfter.value("TALTERACOES_PROTECAO").contains(ChangeLog::kAnonymisationVariable));
        QMap<QString, QString> unchanged = triggersBefore;
        for (const char *remade : {"TMEMBRO_HISTORICO", "TALTERACOES_PROTECAO"}) { // new columns; the anonymisation
            triggersAfter.remove(remade);
            unchanged.remove(remade);
        }
        QCOMPARE(triggersAfter, unchanged);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TROL").toInt(), 0); // being made active is no change of the roll

        db.exec("UPDATE TMEMBRO SET MEMNUMROL = 12, MEMSITUACAO = 'FALECIDO' WHERE MEMCODIGO = 1");
        QCOMPARE(db.rows("SELECT ALTTABELA, ALTREGISTRO, CAST(ALTDETALHES AS VARCHAR(200)) FROM TALTERACOES "
                         "WHERE ALTCODIGO > ? AND ALTTABELA <> 'TPARAMETROS' ORDER BY ALTCODIGO", {logged}),
                 (QList<QVariantList>{
                     {"TROL", 1, QString("ROLMEMBRO: 1; ROLDATA: %1; ROLDESCRICAO: SITUAÇÃO: ATIVO PARA FALECIDO")
                                     .arg(QDate::currentDate().toString("dd/MM/yyyy"))},
                     {"TMEMBRO", 1, "MEMSITUACAO: ATIVO → FALECIDO; MEMNUMROL: (vazio) → 12"}}));
    }

    // A failure at any step, the structure's commit and the rows' commit
    // included, leaves the level, the structure (the triggers' texts too)
    // and the rows as they were; the same database is then brought up to date.
    void failureAtAnyStepLeavesTheOldLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("stepCount");
        QTest::newRow("primeira estrutura") << 0 << 61;
        // the roll's table, its 14 columns, its log trigger, the history's
        // trigger, the commit; the members made active, their log trigger
        // remade, the level, the commit; then the documents' two tables, their log
        // triggers and the index of their numbers; the statement lines' table,
        // its log trigger and two indexes; the anonymisation's column and
        // the log's protection remade
        QTest::newRow("antes do rol") << 3 << 33;
        // the anonymisation's column, the commit; the members' log trigger
        // and the log's protection remade, the level, the commit
        QTest::newRow("antes da anonimização") << 6 << 6;
    }

    void failureAtAnyStepLeavesTheOldLevel()
    {
        QFETCH(int, level);
        QFETCH(int, stepCount);
        const QStringList steps = stepsOfAnUpgrade(level);
        QCOMPARE(steps.size(), stepCount);
        QVERIFY(level == 0 || steps.contains("Refazendo o gatilho TMEMBRO_HISTORICO..."));
        for (int failing = 0; failing < steps.size(); ++failing) {
            TestDatabase db(TestDatabase::levelTemplate(level));
            db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDEBITOCREDITO) "
                    "VALUES (1, 'OFERTA', 10, 'ENTRADA')");
            db.exec("INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (1, 'IGREJA')");
            db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
            const QStringList structure = structureOf(db);
            const QMap<QString, QString> triggers = triggerTexts(db);
            const QMap<QString, QStringList> columns = columnsOf(db);
            const auto rows = rowsOf(db, columns);
            const std::unique_ptr<TDM> dm = db.connect();
            int step = 0;
            const QString error = dbErrorOf([&] {
                SchemaUpgrade::bringUpToDate(dm->SQLConnection1(), [&](const QString &) {
                    if (step++ == failing)
                        throw DbError(QStringLiteral("falha provocada"));
                });
            });
            QVERIFY2(error.contains("não foi atualizado") && error.contains("falha provocada"),
                     qPrintable(steps[failing] + ": " + error));
            QCOMPARE(structureOf(db), structure);
            QCOMPARE(triggerTexts(db), triggers);
            QCOMPARE(rowsOf(db, columns), rows);
            QCOMPARE(SchemaUpgrade::storedLevel(dm->SQLConnection1()), level);
            QCOMPARE(SchemaUpgrade::categoriesAvailable(dm->SQLConnection1()), level > 0);
            if (failing == steps.size() - 1) {
                SchemaUpgrade::bringUpToDate(dm->SQLConnection1());
                QVERIFY(!SchemaUpgrade::behind(dm->SQLConnection1()));
                auto after = rowsOf(db, columns), before = rows;
                after.remove("TUSUARIO"); // the passwords now hashes
                before.remove("TUSUARIO");
                after.remove("TALTERACOES"); // the level's change logged
                before.remove("TALTERACOES");
                QCOMPARE(after, before);
                if (level < Roll::kLevel) // a member of a later level keeps the situação a tool left
                    QCOMPARE(db.scalar("SELECT MEMSITUACAO FROM TMEMBRO").toString(), QString("ATIVO"));
            }
        }
    }

    // Without the upgrade every table still opens and reads; the new
    // columns read empty and are never written, a value put there is
    // refused; the categories table is said to be missing.
    void oldDatabaseOpensWithoutTheNewPieces()
    {
        TestDatabase db(TestDatabase::firstLevelTemplate());
        db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVVALOR, MOVDEBITOCREDITO) "
                "VALUES (1, 'OFERTA', 10, 'ENTRADA')");
        const std::unique_ptr<TDM> dm = db.connect();
        for (TableDataset *table : dm->tables()) // but the tables the levels added
            if (!SchemaUpgrade::addedByUpgrade(Schema::table(table->objectName().mid(2)).table))
                table->open();
        TableDataset *movements = dm->TBMOVIMENTACOES;
        QCOMPARE(movements->recordCount(), 1);
        QCOMPARE(dm->TBMOVIMENTACOESMOVDESCRICAO->asString(), QString("OFERTA"));
        QVERIFY(dm->TBMOVIMENTACOESMOVMEMBRO->isNull());

        movements->edit();
        dm->TBMOVIMENTACOESMOVDESCRICAO->setAsString("OFERTA DO CULTO");
        movements->post();
        movements->applyUpdates(0);
        movements->insert();
        dm->TBMOVIMENTACOESMOVCODIGO->setAsInteger(2);
        dm->TBMOVIMENTACOESMOVVALOR->setAsFloat(5);
        movements->post();
        movements->applyUpdates(0);
        QCOMPARE(db.rows("SELECT MOVCODIGO, COALESCE(MOVDESCRICAO, '-') FROM TMOVIMETACOES ORDER BY 1"),
                 (QList<QVariantList>{{1, "OFERTA DO CULTO"}, {2, "-"}}));

        movements->edit();
        dm->TBMOVIMENTACOESMOVMEMBRO->setAsInteger(3);
        movements->post();
        const QString refused = dbErrorOf([&] { movements->applyUpdates(0); });
        QVERIFY2(refused.contains("MOVMEMBRO") && refused.contains("não existe"), qPrintable(refused));
        QVERIFY(movements->hasPendingChanges());
        movements->cancelUpdates();

        const QString missing = dbErrorOf([&] { dm->TBCATEGORIA->open(); });
        QVERIFY2(missing.contains("TCATEGORIA não existe"), qPrintable(missing));
        QVERIFY(!SchemaUpgrade::categoriesAvailable(dm->SQLConnection1()));
        const BackupCounts counts = Backup::count(db.path());
        QCOMPARE(counts.movements(), 2);
        QVERIFY(!counts.rows.contains("TCATEGORIA"));
    }

    // A database marked read-only cannot be brought up to date: said so at
    // start-up, no copy made, nothing changed, and the program runs on.
    void readOnlyDatabaseIsLeftAsItIs()
    {
        TestDatabase db(TestDatabase::firstLevelTemplate());
        const QStringList structure = structureOf(db);
        db.disconnect();
        QCOMPARE(QProcess::execute("gfix", QStringList{"-mode", "read_only"} + engineToolArguments(db.path())), 0);
        const std::unique_ptr<TDM> dm = db.connect();
        Messages::Recorder messages;
        QVERIFY(!StartupUpgrade::run(*dm));
        QVERIFY2(errorShown(messages, "não pode ser alterado") && errorShown(messages, "continua como estava"),
                 qPrintable(messages.texts().join("\n")));
        QVERIFY(copiesBeside(db).isEmpty());
        QCOMPARE(SchemaUpgrade::missing(dm->SQLConnection1()), kAdded);
        dm->TBMOVIMENTACOES->open();
        QCOMPARE(structureOf(db), structure);
    }

    // On a server the server makes the copy beside the database and the
    // database is brought up to date through it; a read-only one is refused.
    void onAServer()
    {
        FirebirdServer server;
        REQUIRE_FIREBIRD_SERVER(server);
        TestDatabase db(TestDatabase::firstLevelTemplate());
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME) VALUES (1, 'ANA')");
        db.disconnect();
        {
            TDM workstation(nullptr, QStringLiteral("estacao"), server.address(db.path()));
            Messages::Recorder messages;
            QVERIFY(StartupUpgrade::run(workstation));
            QVERIFY2(messages.texts().join("").contains("antes-da-atualizacao"), qPrintable(messages.texts().join("\n")));
            QVERIFY(SchemaUpgrade::categoriesAvailable(workstation.SQLConnection1()));
            QCOMPARE(QDir(db.folder()).entryList({"LIVRO-*-antes-da-atualizacao.fbk"}).size(), 1);
            workstation.TBMEMBRO->open();
            QCOMPARE(workstation.TBMEMBRO->recordCount(), 1);
        }

        TestDatabase readOnly(TestDatabase::firstLevelTemplate());
        readOnly.disconnect();
        QCOMPARE(QProcess::execute("gfix", QStringList{"-mode", "read_only"} + engineToolArguments(readOnly.path())), 0);
        TDM workstation(nullptr, QStringLiteral("estacao2"), server.address(readOnly.path()));
        Messages::Recorder messages;
        QVERIFY(!StartupUpgrade::run(workstation));
        QVERIFY2(errorShown(messages, "não pode ser alterado"), qPrintable(messages.texts().join("\n")));
        QVERIFY(QDir(readOnly.folder()).entryList({"*.fbk"}).isEmpty());
    }
};

QTEST_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
