// Copies of the database made, checked, listed, pruned and restored through
// the engine's services manager, on real files: a copy holds what is stored
// (photographs too) and not what a window still holds unsaved; a damaged
// copy is caught; a restore brings the copy back and keeps the file it
// replaced, or leaves the database exactly as it was.
#include "FirebirdServer.h"
#include "SmallDisk.h"
#include "TestDatabase.h"

#include "backup/Backup.h"
#include "backup/FirebirdService.h"
#include "datamodule/Credentials.h"
#include "dataset/DbError.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

// Members 1..n, every third with a picture of its own length, member 1 with
// every byte value; one book, two movements, one employee with a picture.
void fill(const TestDatabase &db, int members)
{
    db.exec(QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= %1) DO BEGIN "
                           "INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (:i, 'MEMBRO ' || :i, "
                           "CASE WHEN MOD(:i, 3) = 0 THEN LPAD('', 2000 + :i, 'F') END); i = i + 1; END END")
                .arg(members));
    QByteArray everyByte;
    for (int i = 0; i < 4096; ++i)
        everyByte.append(char(i % 256));
    db.exec("UPDATE TMEMBRO SET MEMFOTO = ? WHERE MEMCODIGO = 1", {everyByte});
    db.exec("INSERT INTO TLIVRO (LIVCODIGO, LIVMES, LIVNOMEMES, LIVANO) VALUES (1, 5, 'Maio', 2026)");
    db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO) "
            "VALUES (1, 'OFERTA', 1, 150.5, 'ENTRADA')");
    db.exec("INSERT INTO TMOVIMETACOES (MOVCODIGO, MOVDESCRICAO, MOVLIVRO, MOVVALOR, MOVDEBITOCREDITO) "
            "VALUES (2, 'LUZ', 1, 80, 'SAIDA')");
    db.exec("INSERT INTO TFUNCIONARIO (FUNCODIGO, FUNNOME, FUNFOTO) VALUES (1, 'ZELADOR', ?)", {QByteArray(900, 'z')});
}

// One value read from any database file through a connection of its own.
QVariant valueIn(const QString &file, const QString &sql)
{
    const QString name = QStringLiteral("leitura");
    QVariant value;
    {
        QSqlDatabase db = addFirebirdConnection(name, file);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                value = q.value(0);
            else
                value = QStringLiteral("falhou: ") + q.lastError().text();
        } else {
            value = QStringLiteral("não abriu: ") + db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList workFoldersBeside(const QString &database)
{
    return QFileInfo(database).absoluteDir().entryList({QStringLiteral(".kelmara-trabalho-*")},
                                                        QDir::Dirs | QDir::Hidden);
}

void truncate(const QString &file, qint64 keep)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(keep));
}

// A file with a copy's name (and a record when checked), made at `made`.
void fakeCopy(const QString &folder, const QString &name, bool withRecord, const QDateTime &modified = {})
{
    QFile f(QDir(folder).filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.flush();
    if (modified.isValid())
        QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
    if (withRecord) {
        QFile record(f.fileName() + BackupFolder::kRecordSuffix);
        QVERIFY(record.open(QIODevice::WriteOnly));
        BackupCounts counts;
        counts.rows.insert(QStringLiteral("TMEMBRO"), 1);
        record.write(counts.toText());
    }
}

// Starts the program that makes a copy of `database` into `folder`. The
// engine keeps some of its locks in shared memory below its lock folder, and
// one held by a process killed while it creates a database (the test
// restore) stays held for every later process of the machine; each victim
// gets a lock folder of its own, below `work`.
void startVictim(QProcess &victim, const QString &database, const QString &folder, const QTemporaryDir &work)
{
    const QString locks = work.filePath(QFileInfo(folder).fileName() + QStringLiteral("-travas"));
    QDir().mkpath(locks);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks);
    victim.setProcessEnvironment(environment);
    victim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelmara-copia-interrompida"),
                 {database, folder});
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpTestProgram(); }

    // The copy is made while a window holds edits not yet saved: it holds
    // what is stored, photographs byte for byte, and the edits stay pending.
    // Progress climbs to 100; the folder holds the copy and its record only.
    void copyHoldsTheStoredStatePhotographsIncluded()
    {
        TestDatabase db;
        fill(db, 3000);
        auto dm = db.connect(QStringLiteral("copia"));
        dm->TBMEMBRO->open();
        QVERIFY(dm->TBMEMBRO->locate(QStringLiteral("MEMCODIGO"), {2}));
        dm->TBMEMBRO->edit();
        dm->TBMEMBROMEMNOME->setAsString(QStringLiteral("NÃO GRAVADO"));
        dm->TBMEMBRO->post();
        dm->TBMEMBRO->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(3001);
        dm->TBMEMBROMEMNOME->setAsString(QStringLiteral("NOVO NÃO GRAVADO"));
        dm->TBMEMBRO->post();

        QTemporaryDir folder;
        QList<int> percents;
        const BackupCopy copy = Backup::makeCheckedCopy(db.path(), folder.path(), {},
                                                        [&](int percent, const QString &) { percents << percent; });
        QCOMPARE(copy.status, BackupCopy::Status::Checked);
        QVERIFY2(QRegularExpression("^LIVRO-\\d{8}-\\d{6}\\.fbk$").match(QFileInfo(copy.path).fileName()).hasMatch(),
                 qPrintable(copy.path));
        QCOMPARE(namesIn(folder.path()), (QStringList{QFileInfo(copy.path).fileName(),
                                                      QFileInfo(copy.path).fileName() + ".conferida"}));
        QVERIFY(copy.counts);
        QCOMPARE(copy.counts->members(), 3000);
        QCOMPARE(copy.counts->movements(), 2);
        QCOMPARE(copy.counts->books(), 1);
        QCOMPARE(copy.counts->photographs, 1002); // 1,000 members, member 1 and the employee
        QCOMPARE(copy.counts->summary(), QString("3.000 membros, 2 movimentos, 1 livro e 1.002 fotografias"));
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QCOMPARE(percents.first(), 0);
        QCOMPARE(percents.last(), 100);
        const auto within = [&](int from, int to) {
            return std::any_of(percents.begin(), percents.end(), [&](int p) { return p > from && p < to; });
        };
        QVERIFY2(within(2, 45) && within(45, 86), "no progress while copying or restoring");
        QVERIFY(workFoldersBeside(db.path()).isEmpty());

        // The window's edits are still pending and can be saved.
        QVERIFY(dm->TBMEMBRO->hasPendingChanges());
        dm->TBMEMBRO->applyUpdates(0);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM TMEMBRO").toInt(), 3001);

        // What the copy holds, restored.
        const QList<BackupCopy> listed = BackupFolder::list(folder.path());
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.first().counts, copy.counts);
        const Backup::RestoredCopy restored = Backup::restoreForReplacing(db.path(), listed.first(), {});
        QCOMPARE(valueIn(restored.file, "SELECT MEMFOTO FROM TMEMBRO WHERE MEMCODIGO = 1"),
                 db.scalar("SELECT MEMFOTO FROM TMEMBRO WHERE MEMCODIGO = 1"));
        QCOMPARE(valueIn(restored.file, "SELECT MEMNOME FROM TMEMBRO WHERE MEMCODIGO = 2"), QVariant("MEMBRO 2"));
        QCOMPARE(valueIn(restored.file, "SELECT COUNT(*) FROM TMEMBRO WHERE MEMCODIGO = 3001").toInt(), 0);
        QCOMPARE(valueIn(restored.file, "SELECT FUNFOTO FROM TFUNCIONARIO").toByteArray(), QByteArray(900, 'z'));
    }

    // A copy cut short after it was written is caught by the test restore:
    // reported as failed, kept aside as "-falhou", never listed as good.
    void damagedCopyFailsTheCheck()
    {
        TestDatabase db;
        fill(db, 300);
        db.disconnect();
        QTemporaryDir folder;
        bool cut = false;
        const QString error = dbErrorOf([&] {
            Backup::makeCheckedCopy(db.path(), folder.path(), {}, [&](int, const QString &step) {
                if (cut || !step.startsWith(QStringLiteral("Conferindo")))
                    return;
                const QStringList partial = QDir(folder.path()).entryList({"*.parcial"});
                QCOMPARE(partial.size(), 1);
                truncate(QDir(folder.path()).filePath(partial.first()), 60000);
                cut = true;
            });
        });
        QVERIFY(cut);
        QVERIFY2(error.contains("não passou na conferência") && error.contains("-falhou.fbk"), qPrintable(error));
        const QList<BackupCopy> listed = BackupFolder::list(folder.path());
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.first().status, BackupCopy::Status::Failed);
        QVERIFY(listed.first().path.endsWith("-falhou.fbk"));
        QVERIFY(!BackupFolder::newestChecked(folder.path()));
        QVERIFY(QDir(folder.path()).entryList({"*.parcial", "*.conferida"}).isEmpty());
        QVERIFY(!Backup::restoreRefusal(db.path(), listed.first()).isEmpty());
        QVERIFY(workFoldersBeside(db.path()).isEmpty());
    }

    // The engine's validation finds damage that a restore alone would not
    // show: pages overwritten in a restored file.
    void validationFindsDamagedPages()
    {
        TestDatabase db;
        fill(db, 3000);
        db.disconnect();
        QTemporaryDir folder;
        const BackupCopy copy = Backup::makeCheckedCopy(db.path(), folder.path(), {}, {});
        const QString damaged = folder.filePath("danificado.gdb");
        {
            const Backup::RestoredCopy restored = Backup::restoreForReplacing(db.path(), copy, {});
            QVERIFY(QFile::copy(restored.file, damaged));
        }
        QCOMPARE(FirebirdService({}).validationErrors(damaged), QString());
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 pages = f.size() / 8192;
        QVERIFY(pages > 60);
        for (qint64 page = pages / 4; page < pages; page += 7) {
            f.seek(page * 8192 + 16);
            f.write(QByteArray(8000, char(0x5a)));
        }
        f.close();
        QString errors;
        try {
            errors = FirebirdService({}).validationErrors(damaged);
        } catch (const DbError &e) {
            errors = e.text();
        }
        QVERIFY2(!errors.isEmpty(), "a damaged file passed the validation");
    }

    // Restore of a tagged copy (as made before an update): the copied state
    // comes back into the open data module, on the row each table stood on;
    // the replaced file is kept under its own name.
    void restoreBringsBackTheCopyAndKeepsThePreviousFile()
    {
        TestDatabase db;
        fill(db, 30);
        db.disconnect();
        auto dm = db.connect(QStringLiteral("restauracao"));
        dm->TBMEMBRO->open();
        dm->TBMEMBRO->setFilter("(UPPER(MEMNOME) LIKE UPPER('MEMBRO 1%'))");
        dm->TBMEMBRO->setFiltered(true);
        QVERIFY(dm->TBMEMBRO->locate("MEMCODIGO", {12}));
        QTemporaryDir folder;
        QVERIFY(dbErrorOf([&] { Backup::makeCheckedCopy(db.path(), folder.path(), "Antes da", {}); })
                    .contains("Marca de cópia inválida"));
        const BackupCopy copy = Backup::makeCheckedCopy(db.path(), folder.path(), "antes-da-atualizacao", {});
        QVERIFY(copy.path.endsWith("-antes-da-atualizacao.fbk"));
        QCOMPARE(copy.tag, QString("antes-da-atualizacao"));
        QCOMPARE(BackupFolder::newestChecked(folder.path())->path, copy.path);

        QVERIFY(dm->TBMEMBRO->locate("MEMCODIGO", {11}));
        dm->TBMEMBRO->del();
        dm->TBMEMBRO->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(100);
        dm->TBMEMBROMEMNOME->setAsString("MEMBRO 100 DEPOIS DA CÓPIA");
        dm->TBMEMBRO->post();
        dm->TBMEMBRO->applyUpdates(0);
        QVERIFY(dm->TBMEMBRO->locate("MEMCODIGO", {12}));

        const Backup::RestoredCopy restored = Backup::restoreForReplacing(db.path(), copy, {});
        QCOMPARE(restored.counts, *copy.counts);
        QSignalSpy reopened(dm.get(), &TDM::reopened);
        const QString kept = Backup::replaceDatabase(*dm, restored, QDateTime(QDate(2026, 12, 8), QTime(14, 30, 5)));
        QCOMPARE(kept, QString("LIVRO-antes-da-restauracao-20261208-143005.GDB"));
        QCOMPARE(reopened.count(), 1);

        QCOMPARE(walk(*dm->TBMEMBRO, "MEMCODIGO"), (QStringList{"1", "10", "11", "12", "13", "14", "15", "16", "17",
                                                                "18", "19"}));
        QVERIFY(dm->TBMEMBRO->locate("MEMCODIGO", {12}));
        QVERIFY(!dm->TBCARGO->active()); // closed before, closed after
        const QString keptPath = QDir(db.folder()).filePath(kept);
        QCOMPARE(valueIn(keptPath, "SELECT COUNT(*) FROM TMEMBRO WHERE MEMCODIGO IN (11, 100)").toInt(), 1);
        QCOMPARE(valueIn(db.path(), "SELECT COUNT(*) FROM TMEMBRO WHERE MEMCODIGO IN (11, 100)").toInt(), 1);
        QCOMPARE(valueIn(db.path(), "SELECT MEMCODIGO FROM TMEMBRO WHERE MEMCODIGO IN (11, 100)").toInt(), 11);

        // The restored database takes writes.
        dm->TBMEMBRO->setFiltered(false);
        dm->TBMEMBRO->insert();
        dm->TBMEMBROMEMCODIGO->setAsInteger(31);
        dm->TBMEMBROMEMNOME->setAsString("MEMBRO 31");
        dm->TBMEMBRO->post();
        dm->TBMEMBRO->applyUpdates(0);
        QCOMPARE(valueIn(db.path(), "SELECT COUNT(*) FROM TMEMBRO").toInt(), 31);
    }

    // A damaged, truncated or foreign file, a failed move, or changes not
    // yet saved: the restore is refused and the database stays as it was,
    // open and working, with nothing left beside it.
    void failedRestoreLeavesTheDatabaseAsItWas()
    {
        TestDatabase db;
        fill(db, 300);
        db.disconnect();
        QTemporaryDir folder;
        const BackupCopy good = Backup::makeCheckedCopy(db.path(), folder.path(), {}, {});
        auto dm = db.connect(QStringLiteral("intacto"));
        dm->TBMEMBRO->open();
        const BackupCounts before = Backup::count(db.path());

        BackupCopy truncated = good;
        truncated.path = folder.filePath("cortada.fbk");
        QVERIFY(QFile::copy(good.path, truncated.path));
        truncate(truncated.path, QFileInfo(good.path).size() / 2);
        truncated.counts.reset(); // as if its record were lost: only the restore can tell
        BackupCopy foreign = truncated;
        foreign.path = folder.filePath("texto.fbk");
        QFile text(foreign.path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("isto não é uma cópia\n").repeated(200));
        text.close();
        const QString truncatedError = dbErrorOf([&] { Backup::restoreForReplacing(db.path(), truncated, {}); });
        QVERIFY2(truncatedError.contains("não pode ser restaurada") && truncatedError.contains("não foi alterado"),
                 qPrintable(truncatedError));
        const QString foreignError = dbErrorOf([&] { Backup::restoreForReplacing(db.path(), foreign, {}); });
        QVERIFY2(foreignError.contains("não é uma cópia de segurança"), qPrintable(foreignError));

        // A Firebird backup of some other database restores, but is refused.
        const QString other = folder.filePath("outro.gdb");
        QVERIFY(QFile::copy(db.path(), other));
        {
            QSqlDatabase o = addFirebirdConnection("outro", other);
            QVERIFY(o.open());
            QVERIFY(QSqlQuery(o).exec("DROP TABLE TEVENTO"));
            o.close();
        }
        QSqlDatabase::removeDatabase("outro");
        BackupCopy otherCopy = truncated;
        otherCopy.path = folder.filePath("outro.fbk");
        FirebirdService({}).backup(other, otherCopy.path, {});
        const QString otherError = dbErrorOf([&] { Backup::restoreForReplacing(db.path(), otherCopy, {}); });
        QVERIFY2(otherError.contains("não é um banco de dados do Kelmara"), qPrintable(otherError));

        {
            // The restored file vanished before it could be moved in.
            const Backup::RestoredCopy restored = Backup::restoreForReplacing(db.path(), good, {});
            QVERIFY(QFile::remove(restored.file));
            const QString moveError =
                dbErrorOf([&] { Backup::replaceDatabase(*dm, restored, QDateTime::currentDateTime()); });
            QVERIFY2(moveError.contains("A restauração não foi feita"), qPrintable(moveError));
            QVERIFY(dm->TBMEMBRO->active());

            // Changes not yet saved are never thrown away by a restore.
            const Backup::RestoredCopy again = Backup::restoreForReplacing(db.path(), good, {});
            dm->TBMEMBRO->first();
            dm->TBMEMBRO->edit();
            dm->TBMEMBROMEMNOME->setAsString("PENDENTE");
            dm->TBMEMBRO->post();
            const QString pendingError =
                dbErrorOf([&] { Backup::replaceDatabase(*dm, again, QDateTime::currentDateTime()); });
            QVERIFY2(pendingError.contains("ainda não foram gravadas"), qPrintable(pendingError));
            dm->TBMEMBRO->cancelUpdates();
        }
        QCOMPARE(namesIn(db.folder()), QStringList{"LIVRO.GDB"});
        QVERIFY(workFoldersBeside(db.path()).isEmpty());
        dm.reset();
        BackupCounts after = Backup::count(db.path());
        QCOMPARE(after, before);
        QCOMPARE(FirebirdService({}).validationErrors(db.path()), QString());
    }

    // The ten newest checked copies and the newest of each of the last
    // twelve months stay; failed, tagged, unchecked and foreign files stay
    // whatever their age; a partial file older than an hour goes.
    void pruningKeepsTheRightFiles()
    {
        QTemporaryDir folder;
        const QDateTime now(QDate(2026, 12, 8), QTime(12, 0));
        QStringList kept, deleted;
        const auto good = [&](const QDateTime &made, bool keep) {
            const QString name = BackupFolder::copyName(made);
            fakeCopy(folder.path(), name, true);
            (keep ? kept : deleted) << name << name + ".conferida";
        };
        for (int i = 0; i < 12; ++i) // December: the ten newest stay
            good(QDateTime(QDate(2026, 12, 1 + i / 2), QTime(8 + i, 0)), i >= 2);
        good(QDateTime(QDate(2026, 11, 30), QTime(9, 0)), true); // newest of November
        good(QDateTime(QDate(2026, 11, 20), QTime(9, 0)), false);
        good(QDateTime(QDate(2026, 11, 2), QTime(9, 0)), false);
        good(QDateTime(QDate(2026, 1, 15), QTime(9, 0)), true);  // twelfth month back
        good(QDateTime(QDate(2026, 1, 3), QTime(9, 0)), false);
        good(QDateTime(QDate(2025, 12, 31), QTime(23, 0)), false); // thirteen months back
        const QStringList others{BackupFolder::failedName(BackupFolder::copyName(QDateTime(QDate(2025, 3, 1), QTime(1, 0)))),
                                 BackupFolder::copyName(QDateTime(QDate(2024, 6, 1), QTime(1, 0)), "antes-da-atualizacao"),
                                 BackupFolder::copyName(QDateTime(QDate(2024, 7, 1), QTime(1, 0))), // no record
                                 "livro-2023-12-08.fbk"};
        for (const QString &name : others)
            fakeCopy(folder.path(), name, name.contains("atualizacao"), QDateTime(QDate(2023, 12, 8), QTime(9, 0)));
        kept << others << BackupFolder::copyName(QDateTime(QDate(2024, 6, 1), QTime(1, 0)), "antes-da-atualizacao")
                              + ".conferida";
        fakeCopy(folder.path(), "LIVRO-20261208-113000.fbk.parcial", false, now.addSecs(-600));
        fakeCopy(folder.path(), "LIVRO-20261207-113000.fbk.parcial", false, now.addDays(-1));
        kept << "LIVRO-20261208-113000.fbk.parcial";

        const QList<BackupCopy> listed = BackupFolder::list(folder.path());
        QCOMPARE(listed.size(), 22);
        QCOMPARE(listed.first().made, QDateTime(QDate(2026, 12, 6), QTime(19, 0)));
        QCOMPARE(listed.last().status, BackupCopy::Status::Unchecked); // the foreign one, by its date
        QCOMPARE(std::count_if(listed.begin(), listed.end(),
                               [](const BackupCopy &c) { return c.status == BackupCopy::Status::Failed; }), 1);

        const QStringList removed = BackupFolder::prune(folder.path(), now);
        QCOMPARE(removed.size(), deleted.size() / 2);
        kept.sort();
        QCOMPARE(namesIn(folder.path()), kept);
    }

    // The reminder looks at the newest checked copy of the folder.
    void reminderAfterAWeekWithoutAGoodCopy()
    {
        QTemporaryDir folder;
        const QDateTime now(QDate(2026, 12, 8), QTime(12, 0));
        QVERIFY(BackupFolder::reminderDue(folder.path(), now));
        fakeCopy(folder.path(), BackupFolder::failedName(BackupFolder::copyName(now.addDays(-1))), false);
        fakeCopy(folder.path(), BackupFolder::copyName(now.addSecs(-3600)), false); // unchecked
        QVERIFY(BackupFolder::reminderDue(folder.path(), now));
        fakeCopy(folder.path(), BackupFolder::copyName(now.addDays(-6)), true);
        QVERIFY(!BackupFolder::reminderDue(folder.path(), now));
        QVERIFY(BackupFolder::reminderDue(folder.path(), now.addDays(2)));
    }

    // Folders that cannot be written and databases on a server.
    void unwritableFolderAndServerPaths()
    {
        TestDatabase db;
        db.disconnect();
        QTemporaryDir dir;
        fakeCopy(dir.path(), "arquivo", false);
        const QString folder = dir.filePath("arquivo/copias");
        const QString error = dbErrorOf([&] { Backup::makeCheckedCopy(db.path(), folder, {}, {}); });
        QVERIFY2(error.contains("Não é possível gravar na pasta"), qPrintable(error));
        QCOMPARE(namesIn(dir.path()), QStringList{"arquivo"});

        QVERIFY(!DatabaseLocation::of("/srv/igreja/LIVRO.GDB").onServer());
        QVERIFY(!DatabaseLocation::of("C:\\Igreja\\LIVRO.GDB").onServer());
        const DatabaseLocation server = DatabaseLocation::of("servidor:/srv/igreja/LIVRO.GDB");
        QCOMPARE(server.server, QString("servidor:"));
        QCOMPARE(server.folder(), QString("/srv/igreja/"));
        QCOMPARE(server.name("/srv/igreja/x.fbk"), QString("servidor:/srv/igreja/x.fbk"));
        const DatabaseLocation windows = DatabaseLocation::of("127.0.0.1/3051:D:\\Igreja\\LIVRO.GDB");
        QCOMPARE(windows.server, QString("127.0.0.1/3051:"));
        QCOMPARE(windows.folder(), QString("D:\\Igreja\\"));
        const DatabaseLocation url = DatabaseLocation::of("inet://servidor//srv/igreja/LIVRO.GDB");
        QCOMPARE(url.server, QString("inet://servidor/"));
        QCOMPARE(url.file, QString("/srv/igreja/LIVRO.GDB"));
        QCOMPARE(Backup::folderForRun("servidor:/srv/igreja/LIVRO.GDB"), QString("servidor:/srv/igreja/"));

        BackupCopy copy;
        copy.status = BackupCopy::Status::Checked;
        const QString refusal = Backup::restoreRefusal("servidor:/srv/igreja/LIVRO.GDB", copy);
        QVERIFY2(refusal.contains("está em um servidor") && refusal.contains("no próprio servidor"), qPrintable(refusal));
        QVERIFY(Backup::restoreRefusal(db.path(), copy).isEmpty());
    }

    // With the database on a server, the server makes and checks the copy
    // beside the database, while a workstation holds it open, and drops its
    // scratch database; a restore from a workstation is refused.
    void copyMadeByAServer()
    {
        FirebirdServer server;
        REQUIRE_FIREBIRD_SERVER(server);
        TestDatabase db;
        fill(db, 300);
        db.disconnect();
        const QString address = server.address(db.path());
        TDM workstation(nullptr, QStringLiteral("estacao"), address);
        workstation.TBMEMBRO->open();
        QCOMPARE(Backup::folderForRun(address), server.address(db.folder() + u'/'));

        const BackupCopy copy = Backup::makeCheckedCopy(address, Backup::folderForRun(address), {}, {});
        QCOMPARE(copy.status, BackupCopy::Status::Checked);
        QCOMPARE(copy.counts->members(), 300);
        QCOMPARE(copy.counts->photographs, 102);
        QCOMPARE(QFileInfo(copy.path).absolutePath(), QFileInfo(db.path()).absolutePath());
        QCOMPARE(namesIn(db.folder()), (QStringList{QFileInfo(copy.path).fileName(), "LIVRO.GDB"}));
        QVERIFY(!Backup::restoreRefusal(address, copy).isEmpty());
        QVERIFY(dbErrorOf([&] { Backup::restoreForReplacing(address, copy, {}); }).contains("no próprio servidor"));
    }

    // A full disk where the copy goes: a clear message, nothing left there.
    void fullDiskLeavesNoCopy()
    {
        TestDatabase db;
        db.exec("INSERT INTO TMEMBRO (MEMCODIGO, MEMNOME, MEMFOTO) VALUES (1, 'PEDRO', ?)",
                {QByteArray(3 * 1024 * 1024, 'p')});
        db.disconnect();
        QTemporaryDir dir;
        SmallDisk disk(dir.path(), 1);
        if (!disk.mounted)
            QSKIP(kNeedsRoot);
        const QString error = dbErrorOf([&] { Backup::makeCheckedCopy(db.path(), dir.path(), {}, {}); });
        QVERIFY2(error.contains("Não há espaço livre no disco") && error.contains("Nada foi guardado"), qPrintable(error));
        QVERIFY(BackupFolder::list(dir.path()).isEmpty());
        QVERIFY(QDir(dir.path()).entryList({"*.parcial"}).isEmpty());
    }

    // A program killed at random moments of making and checking a copy
    // leaves no copy listed that is not whole and checked, and a database
    // that passes the engine's validation with what it held.
    void killDuringCopyLeavesNoListedCopy()
    {
        TestDatabase db;
        fill(db, 3000);
        db.disconnect();
        const BackupCounts held = Backup::count(db.path());
        QTemporaryDir work;

        QElapsedTimer clock;
        QProcess uninterrupted;
        startVictim(uninterrupted, db.path(), work.filePath("inteira"), work);
        QVERIFY(uninterrupted.waitForReadyRead(60000));
        clock.start();
        QVERIFY(uninterrupted.waitForFinished(120000));
        QCOMPARE(uninterrupted.exitCode(), 0);
        const qint64 copyMs = qMax<qint64>(clock.elapsed(), 50);
        QCOMPARE(BackupFolder::list(work.filePath("inteira")).size(), 1);

        QRandomGenerator random(20261208);
        int kills = 0, partial = 0, whole = 0;
        for (int attempt = 0; kills < 8 && attempt < 30; ++attempt) {
            const QString folder = work.filePath(QStringLiteral("morta%1").arg(attempt));
            QProcess victim;
            startVictim(victim, db.path(), folder, work);
            QVERIFY(victim.waitForReadyRead(60000)); // "copiando"
            QThread::msleep(random.bounded(int(copyMs * 11 / 10) + 1));
            if (victim.state() == QProcess::Running) {
                victim.kill();
                ++kills;
            }
            victim.waitForFinished(60000);
            partial += int(QDir(folder).entryList({"*.parcial"}).size());
            whole += int(BackupFolder::list(folder).size());
            for (const BackupCopy &copy : BackupFolder::list(folder)) {
                QCOMPARE(copy.status, BackupCopy::Status::Checked);
                QCOMPARE(copy.counts, held);
            }
            QCOMPARE(FirebirdService({}).validationErrors(db.path()), QString());
            QCOMPARE(Backup::count(db.path()), held);
        }
        qInfo("%d kills while copying: %d left a partial file, %d copies made whole", kills, partial, whole);
        QCOMPARE(kills, 8);
        // The file is free again: a copy in this process goes through.
        QCOMPARE(Backup::makeCheckedCopy(db.path(), work.filePath("depois"), {}, {}).status, BackupCopy::Status::Checked);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
