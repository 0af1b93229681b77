#include "Backup.h"

#include "FirebirdService.h"
#include "datamodule/Credentials.h"
#include "datamodule/ParameterCodes.h"
#include "datamodule/Schema.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/SystemPaths.h"
#include "datamodule/UDM.h"
#include "dataset/DbError.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUuid>

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

QString &chosenFolder()
{
    static QString folder;
    return folder;
}

// The engine's reasons that a user can act on, said in Portuguese; the
// engine's own text follows for whoever looks after the installation.
QString explained(const QString &engineText)
{
    static const std::pair<const char *, const char *> known[] = {
        {"free disk space exhausted", "Não há espaço livre no disco."},
        {"No space left on device", "Não há espaço livre no disco."},
        {"cannot open backup file", "O arquivo da cópia não pôde ser aberto ou criado."},
        {"expected backup description record", "O arquivo não é uma cópia de segurança do Firebird."},
        {"unexpected end of file", "A cópia está incompleta: o arquivo termina antes do fim."},
        {"Backup incomplete", "A cópia está incompleta: o arquivo termina antes do fim."},
        {"already exists", "Já existe um arquivo com o nome que a restauração usaria."},
    };
    for (const auto &[english, portuguese] : known)
        if (engineText.contains(QLatin1String(english), Qt::CaseInsensitive))
            return QString::fromUtf8(portuguese) + QStringLiteral("\n\n(Firebird: ") + engineText + u')';
    return engineText;
}

QString tableWords(const QString &table)
{
    static const QMap<QString, QString> words{
        {QStringLiteral("TMEMBRO"), QStringLiteral("membros")},
        {QStringLiteral("TFUNCIONARIO"), QStringLiteral("funcionários")},
        {QStringLiteral("TCARGO"), QStringLiteral("cargos")},
        {QStringLiteral("TLIVRO"), QStringLiteral("livros caixa")},
        {QStringLiteral("TMOVIMETACOES"), QStringLiteral("movimentos")},
        {QStringLiteral("TUSUARIO"), QStringLiteral("contas de acesso")},
        {QStringLiteral("TEVENTO"), QStringLiteral("eventos")},
        {QStringLiteral("TPARAMETROS"), QStringLiteral("parâmetros")},
        {QStringLiteral("TCATEGORIA"), QStringLiteral("categorias")},
        {QStringLiteral("TROL"), QStringLiteral("histórico do rol")},
    };
    return words.value(table, table);
}

// Turns gbak's verbose lines ("writing data for table X", "2000 records
// written") into a share of the rows of the whole database.
class RowProgress
{
public:
    RowProgress(const Backup::Progress &progress, qint64 totalRows, int from, int to, QString step)
        : m_progress(progress), m_total(qMax<qint64>(totalRows, 1)), m_from(from), m_to(to), m_step(std::move(step))
    {
        report();
    }

    void operator()(const QString &line)
    {
        static const QRegularExpression records(QStringLiteral("(\\d+) records"));
        if (line.contains(QLatin1String("data for table"))) {
            m_done += m_table;
            m_table = 0;
        } else if (const QRegularExpressionMatch m = records.match(line); m.hasMatch()) {
            m_table = m.captured(1).toLongLong();
        }
        report();
    }

private:
    void report()
    {
        const double share = qMin(1.0, double(m_done + m_table) / double(m_total));
        const int percent = m_from + int((m_to - m_from) * share);
        if (percent == m_last || !m_progress)
            return;
        m_last = percent;
        m_progress(percent, m_step);
    }

    Backup::Progress m_progress;
    qint64 m_total, m_done = 0, m_table = 0;
    int m_from, m_to, m_last = -1;
    QString m_step;
};

void say(const Backup::Progress &progress, int percent, const QString &step)
{
    if (progress)
        progress(percent, step);
}

qint64 scalar(QSqlQuery &q, const QString &sql, int column = 0)
{
    if (!q.exec(sql) || !q.next())
        throw DbError(q.lastError().databaseText().isEmpty() ? q.lastError().text() : q.lastError().databaseText());
    return q.value(column).toLongLong();
}

bool hasTable(QSqlQuery &q, const QString &table)
{
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = ?"));
    q.bindValue(0, table);
    if (!q.exec() || !q.next())
        throw DbError(q.lastError().text());
    return q.value(0).toLongLong() > 0;
}

BackupCounts countOn(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // A restore that stopped half-way leaves the file shut down, with what it had restored so far.
    if (scalar(q, QStringLiteral("SELECT MON$SHUTDOWN_MODE FROM MON$DATABASE")) != 0)
        throw DbError(QStringLiteral("A restauração não chegou ao fim: a cópia está incompleta ou danificada."));
    BackupCounts counts;
    for (const TableDef &t : Schema::tables()) {
        if (SchemaUpgrade::addedByUpgrade(t.table) && !hasTable(q, t.table))
            continue; // a database of an older level
        counts.rows.insert(t.table, scalar(q, QStringLiteral("SELECT COUNT(*) FROM ") + t.table));
    }
    const std::pair<const char *, const char *> pictures[] = {{"MEMFOTO", "TMEMBRO"}, {"FUNFOTO", "TFUNCIONARIO"}};
    for (const auto &[column, table] : pictures) {
        const QString c = QString::fromLatin1(column), t = QString::fromLatin1(table);
        counts.photographs += scalar(q, QStringLiteral("SELECT COUNT(%1) FROM %2").arg(c, t));
        counts.photographBytes += scalar(q, QStringLiteral("SELECT COALESCE(SUM(OCTET_LENGTH(%1)), 0) FROM %2").arg(c, t));
    }
    return counts;
}

// What differs between a restored copy and the database it was made from;
// rows written while the copy ran may fall on either side.
QString differences(const BackupCounts &copy, const BackupCounts &before, const BackupCounts &after)
{
    QStringList lines;
    const auto compare = [&](const QString &what, qint64 inCopy, qint64 a, qint64 b) {
        if (inCopy < qMin(a, b) || inCopy > qMax(a, b))
            lines << QStringLiteral("%1: a cópia tem %2, o banco de dados tem %3").arg(what).arg(inCopy).arg(b);
    };
    for (auto it = after.rows.begin(); it != after.rows.end(); ++it)
        compare(tableWords(it.key()), copy.rows.value(it.key(), -1), before.rows.value(it.key()), it.value());
    compare(QStringLiteral("fotografias"), copy.photographs, before.photographs, after.photographs);
    compare(QStringLiteral("bytes das fotografias"), copy.photographBytes, before.photographBytes,
            after.photographBytes);
    return lines.join(u'\n');
}

void ensureWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kelmara-teste-XXXXXX")));
    if (!QDir().mkpath(folder) || !probe.open())
        throw DbError(QStringLiteral("Não é possível gravar na pasta \"%1\". Nada foi copiado. Escolha outra pasta "
                                     "com \"Outra Pasta...\" ou peça a quem cuida do computador que libere a gravação.")
                          .arg(QDir::toNativeSeparators(folder)));
}

// Room a disk keeps beyond a copy and its check, so neither fills it to the last byte.
constexpr qint64 kSpareRoom = 64 * 1024 * 1024;

// What a step will write into a folder.
struct Need
{
    QString folder;
    qint64 bytes;
    QString purpose; // "para a cópia"
};

// Refuses, naming the folder and the megabytes, when a disk has not room
// for what will be written on it (the needs on one disk add up, with
// kSpareRoom beyond them). A folder whose disk cannot be told is let go.
void ensureRoom(const QList<Need> &needs, const QString &nothingDone)
{
    QList<std::pair<QStorageInfo, Need>> disks;
    for (const Need &need : needs) {
        const QStorageInfo disk(need.folder);
        const auto same = std::find_if(disks.begin(), disks.end(),
                                       [&](const auto &d) { return d.first.rootPath() == disk.rootPath(); });
        if (same == disks.end()) {
            disks.append({disk, need});
        } else {
            same->second.bytes += need.bytes;
            same->second.purpose += QStringLiteral(" e ") + need.purpose;
        }
    }
    for (const auto &[disk, need] : disks) {
        const qint64 needed = need.bytes + kSpareRoom;
        if (!disk.isValid() || disk.bytesAvailable() >= needed)
            continue;
        constexpr qint64 Megabyte = 1024 * 1024;
        throw DbError(QStringLiteral("Não há espaço livre suficiente em \"%1\" %2: são necessários cerca de %3 MB e há "
                                     "%4 MB livres. %5")
                          .arg(QDir::toNativeSeparators(need.folder), need.purpose,
                               QLocale().toString((needed + Megabyte - 1) / Megabyte),
                               QLocale().toString(disk.bytesAvailable() / Megabyte), nothingDone));
    }
}

// At most what a copy of a database holding `counts` takes, and the new
// database its restore makes: the photographs' bytes with a page of room
// each, two kilobytes a row (the widest row of the program's tables takes
// under one) and 16 MB for the rest (system tables, indexes, page headers).
qint64 contentEstimate(const BackupCounts &counts)
{
    constexpr qint64 PerPhotograph = 8 * 1024, PerRow = 2 * 1024, Rest = 16 * 1024 * 1024;
    return counts.photographBytes + counts.photographs * PerPhotograph + counts.totalRows() * PerRow + Rest;
}

// A copy holds the rows without the free pages and the indexes of the
// database file, so it takes at most about the file's size, or what the
// rows hold when that is less (a file keeps the room of what was deleted);
// the test restore that checks it is a new database of about that size again.
QList<Need> copyNeeds(const QString &databaseFile, const BackupCounts &counts, const QString &copyFolder,
                      const QString &restoreFolder)
{
    const qint64 size = qMin(QFileInfo(databaseFile).size(), contentEstimate(counts));
    return {{copyFolder, size, QStringLiteral("para a cópia")},
            {restoreFolder, size, QStringLiteral("para a restauração de teste que a confere")}};
}

// Work files of an interrupted check or restore, left beside the database.
void removeStaleWork(const QString &folder)
{
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &dir : QDir(folder).entryInfoList({QStringLiteral(".kelmara-trabalho-*")},
                                                           QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (dir.lastModified() < hourAgo)
            QDir(dir.absoluteFilePath()).removeRecursively();
}

// A new database file for a test restore: in a work folder beside a local
// database (removed with it), or a new name beside a database on a server
// (dropped through the server).
class ScratchDatabase
{
public:
    explicit ScratchDatabase(const DatabaseLocation &where) : m_where(where)
    {
        if (where.onServer()) {
            m_file = where.folder() + QStringLiteral("LIVRO-conferencia-%1.GDB")
                                          .arg(QUuid::createUuid().toString(QUuid::Id128));
            return;
        }
        const QString folder = QFileInfo(where.file).absolutePath();
        removeStaleWork(folder);
        m_work = std::make_shared<QTemporaryDir>(QDir(folder).filePath(QStringLiteral(".kelmara-trabalho-XXXXXX")));
        if (!m_work->isValid())
            m_work = std::make_shared<QTemporaryDir>();
        if (!m_work->isValid())
            throw DbError(QStringLiteral("Não foi possível criar uma pasta de trabalho para conferir a cópia."));
        m_file = m_work->filePath(SystemPaths::kDatabaseFileName);
    }
    ~ScratchDatabase()
    {
        if (m_where.onServer() && m_restored)
            try {
                dropDatabase(m_where.name(m_file));
            } catch (const DbError &) {
                // a scratch file left on the server is no harm to the database
            }
    }

    const QString &file() const { return m_file; } // as its engine sees it
    // The folder a local one's work folder lies in: the database's, or the temporary one.
    QString folder() const { return QFileInfo(QFileInfo(m_file).absolutePath()).absolutePath(); }
    QString name() const { return m_where.name(m_file); }
    void restoredInto() { m_restored = true; }
    std::shared_ptr<QTemporaryDir> work() const { return m_work; }

private:
    DatabaseLocation m_where;
    std::shared_ptr<QTemporaryDir> m_work;
    QString m_file;
    bool m_restored = false;
};

// Restores `backupFile` into the scratch database, validates and counts it.
BackupCounts restoreAndCount(const DatabaseLocation &where, const QString &backupFile, ScratchDatabase &scratch,
                             qint64 expectedRows, const Backup::Progress &progress, int from, int to,
                             const QString &step)
{
    const int validation = from + (to - from) * 8 / 10;
    const int counting = from + (to - from) * 9 / 10;
    scratch.restoredInto();
    FirebirdService(where.server)
        .restore(backupFile, scratch.file(), RowProgress(progress, expectedRows, from, validation, step));
    say(progress, validation, QStringLiteral("Validando o banco de dados restaurado..."));
    const QString errors = FirebirdService(where.server).validationErrors(scratch.file());
    if (!errors.isEmpty())
        throw DbError(QStringLiteral("A validação do banco de dados restaurado encontrou erros:\n") + errors);
    say(progress, counting, QStringLiteral("Contando o que o banco de dados restaurado guarda..."));
    return Backup::count(scratch.name());
}

// Where a new copy goes: on this computer a partial name until it passed its
// check; on a server (where files cannot be renamed from here) its final name.
struct CopyTarget
{
    QString engineFile; // what the engine writes
    QString finalPath;
    QString failedPath;
    bool local = true;
};

CopyTarget targetFor(const DatabaseLocation &where, const QString &folder, const QString &tag)
{
    QDateTime made = QDateTime::currentDateTime();
    CopyTarget target;
    target.local = !where.onServer();
    const QDir dir(where.onServer() ? QString() : folder);
    for (;; made = made.addSecs(1)) {
        const QString name = BackupFolder::copyName(made, tag);
        target.finalPath = where.onServer() ? where.folder() + name : dir.filePath(name);
        target.failedPath = where.onServer() ? target.finalPath : dir.filePath(BackupFolder::failedName(name));
        target.engineFile = where.onServer() ? target.finalPath : target.finalPath + BackupFolder::kPartialSuffix;
        if (where.onServer()
            || !(QFileInfo::exists(target.finalPath) || QFileInfo::exists(target.engineFile)
                 || QFileInfo::exists(target.failedPath)))
            return target;
    }
}

// The copy passed its check: its record, then its name.
BackupCopy keepChecked(const CopyTarget &target, const BackupCounts &counts, const QString &folder)
{
    BackupCopy copy;
    copy.path = target.finalPath;
    copy.made = QDateTime::currentDateTime();
    copy.status = BackupCopy::Status::Checked;
    copy.counts = counts;
    if (!target.local)
        return copy;
    QSaveFile record(target.finalPath + BackupFolder::kRecordSuffix);
    if (!record.open(QIODevice::WriteOnly) || record.write(counts.toText()) < 0 || !record.commit()
        || !QFile::rename(target.engineFile, target.finalPath)) {
        QFile::remove(target.finalPath + BackupFolder::kRecordSuffix);
        QFile::remove(target.engineFile);
        throw DbError(QStringLiteral("A cópia foi conferida, mas não foi possível dar a ela o seu nome na pasta "
                                     "\"%1\". Nada foi guardado.")
                          .arg(QDir::toNativeSeparators(folder)));
    }
    for (const BackupCopy &listed : BackupFolder::list(folder))
        if (listed.path == QFileInfo(target.finalPath).absoluteFilePath())
            copy = listed;
    BackupFolder::prune(folder, QDateTime::currentDateTime());
    return copy;
}

[[noreturn]] void failCheck(const CopyTarget &target, const QString &reason)
{
    const QString kept = target.local && QFile::rename(target.engineFile, target.failedPath)
                             ? QStringLiteral("Ela foi guardada à parte como \"%1\".")
                             : QStringLiteral("Ela está em \"%1\" e deve ser apagada.");
    throw DbError(QStringLiteral("A cópia de segurança foi feita, mas não passou na conferência e não deve ser usada. ")
                  + kept.arg(QDir::toNativeSeparators(target.local ? target.failedPath : target.finalPath))
                  + QStringLiteral("\n\n") + reason);
}

} // namespace

namespace Backup {

void withConnection(const QString &databasePath, const std::function<void(const QSqlDatabase &)> &work)
{
    const QString connection = QStringLiteral("propria-") + QUuid::createUuid().toString(QUuid::Id128);
    QString refused;
    std::exception_ptr failure;
    {
        QSqlDatabase db = addFirebirdConnection(connection, databasePath);
        if (!db.open()) {
            refused = db.lastError().databaseText().isEmpty() ? db.lastError().text() : db.lastError().databaseText();
        } else {
            try {
                work(db);
            } catch (...) {
                failure = std::current_exception();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (failure)
        std::rethrow_exception(failure);
    if (!refused.isEmpty())
        throw DbError(refused);
}

BackupCounts count(const QString &databasePath)
{
    BackupCounts counts;
    try {
        withConnection(databasePath, [&](const QSqlDatabase &db) { counts = countOn(db); });
    } catch (const DbError &e) {
        if (!e.text().contains(QLatin1String("Table unknown")))
            throw;
        throw DbError(QStringLiteral("O arquivo não é um banco de dados do Kelmara.\n\n(Firebird: %1)").arg(e.text()));
    }
    return counts;
}

bool holdsData(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    for (const TableDef &t : Schema::tables()) {
        // The accounts, the starting categories and the level are there from the start.
        if (t.table == QLatin1String("TUSUARIO") || SchemaUpgrade::addedByUpgrade(t.table))
            continue;
        const QString own = t.table == QLatin1String("TPARAMETROS")
                                ? QStringLiteral(" WHERE PARCODIGO <> %1").arg(ParameterCode::SchemaLevel)
                                : QString();
        if (!q.exec(QStringLiteral("SELECT FIRST 1 1 FROM ") + t.table + own))
            throw DbError(q.lastError().text());
        if (q.next())
            return true;
    }
    return false;
}

QString folderForRun(const QString &databasePath)
{
    if (!chosenFolder().isEmpty())
        return chosenFolder();
    const DatabaseLocation where = DatabaseLocation::of(databasePath);
    return where.onServer() ? where.server + where.folder() : BackupFolder::besideDatabase(databasePath);
}

void chooseFolderForRun(const QString &folder)
{
    chosenFolder() = folder;
}

BackupCopy makeCheckedCopy(const QString &databasePath, const QString &folder, const QString &tag,
                           const Progress &progress)
{
    static const QRegularExpression tagForm(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
    if (!tag.isEmpty() && (!tagForm.match(tag).hasMatch() || tag.endsWith(BackupFolder::kFailedSuffix.mid(1))))
        throw DbError(QStringLiteral("Marca de cópia inválida: \"%1\".").arg(tag));
    const DatabaseLocation where = DatabaseLocation::of(databasePath);
    ScratchDatabase scratch(where);
    if (!where.onServer())
        ensureWritable(folder);
    say(progress, 0, QStringLiteral("Contando o que o banco de dados guarda..."));
    const BackupCounts before = count(databasePath);
    if (!where.onServer())
        ensureRoom(copyNeeds(where.file, before, folder, scratch.folder()),
                   QStringLiteral("Nada foi copiado.\n\nLibere espaço nesse disco ou escolha outra pasta com \"Outra "
                                  "Pasta...\"."));
    const CopyTarget target = targetFor(where, folder, tag);
    try {
        FirebirdService(where.server)
            .backup(where.file, target.engineFile,
                    RowProgress(progress, before.totalRows(), 2, 45, QStringLiteral("Copiando os dados...")));
    } catch (const DbError &e) {
        if (target.local)
            QFile::remove(target.engineFile);
        throw DbError(QStringLiteral("Não foi possível fazer a cópia de segurança em \"%1\". Nada foi guardado.\n\n%2")
                          .arg(QDir::toNativeSeparators(folder), explained(e.text())));
    }
    QString reason;
    BackupCounts restored;
    try {
        restored = restoreAndCount(where, target.engineFile, scratch, before.totalRows(), progress, 45, 97,
                                   QStringLiteral("Conferindo a cópia: restauração de teste..."));
        say(progress, 97, QStringLiteral("Contando de novo o que o banco de dados guarda..."));
        reason = differences(restored, before, count(databasePath));
    } catch (const DbError &e) {
        reason = explained(e.text());
    }
    if (!reason.isEmpty())
        failCheck(target, reason);
    BackupCopy copy = keepChecked(target, restored, folder);
    say(progress, 100, QStringLiteral("Cópia feita e conferida."));
    return copy;
}

QString restoreRefusal(const QString &databasePath, const BackupCopy &copy)
{
    if (DatabaseLocation::of(databasePath).onServer())
        return QStringLiteral("O banco de dados está em um servidor (%1). A restauração é feita no próprio servidor, "
                              "por quem cuida dele, com o programa fechado em todas as estações; daqui ela não é "
                              "feita.")
            .arg(databasePath);
    if (copy.status == BackupCopy::Status::Failed)
        return QStringLiteral("Esta cópia não passou na conferência quando foi feita e não pode ser restaurada.");
    return {};
}

RestoredCopy restoreForReplacing(const QString &databasePath, const BackupCopy &copy, const Progress &progress)
{
    const QString refusal = restoreRefusal(databasePath, copy);
    if (!refusal.isEmpty())
        throw DbError(refusal);
    const DatabaseLocation where = DatabaseLocation::of(databasePath);
    const auto refused = [&](const QString &reason) {
        return DbError(QStringLiteral("A cópia \"%1\" não pode ser restaurada. O banco de dados atual não foi "
                                      "alterado.\n\n%2")
                           .arg(QDir::toNativeSeparators(copy.path), reason));
    };
    RestoredCopy restored;
    try {
        ScratchDatabase scratch(where);
        const qint64 needed = copy.counts ? contentEstimate(*copy.counts) : 2 * copy.size;
        ensureRoom({{scratch.folder(), needed, QStringLiteral("para restaurar a cópia")}},
                   QStringLiteral("Libere espaço nesse disco."));
        const qint64 rows = copy.counts ? copy.counts->totalRows() : count(databasePath).totalRows();
        restored = {scratch.work(), scratch.file(), {}};
        restored.counts = restoreAndCount(where, copy.path, scratch, rows, progress, 0, 100,
                                          QStringLiteral("Restaurando a cópia em um arquivo novo..."));
    } catch (const DbError &e) {
        throw refused(explained(e.text()));
    }
    if (copy.counts && *copy.counts != restored.counts)
        throw refused(QStringLiteral("O banco restaurado não guarda o que a cópia guardava quando foi feita:\n")
                      + differences(restored.counts, *copy.counts, *copy.counts));
    say(progress, 100, QStringLiteral("Cópia restaurada e conferida."));
    return restored;
}

QString replaceDatabase(TDM &dm, const RestoredCopy &restored, const QDateTime &now)
{
    for (TableDataset *t : dm.tables())
        if (t->hasPendingChanges() || t->state() == Dataset::State::Edit || t->state() == Dataset::State::Insert)
            throw DbError(QStringLiteral("Há alterações que ainda não foram gravadas. Grave-as ou cancele-as antes "
                                         "de restaurar uma cópia."));
    const QString live = QFileInfo(dm.databasePath()).absoluteFilePath();
    const QDir dir = QFileInfo(live).absoluteDir();
    QDateTime stamp = now;
    QString kept;
    do {
        kept = dir.filePath(QStringLiteral("LIVRO-antes-da-restauracao-%1.GDB").arg(stamp.toString(kStampFormat)));
        stamp = stamp.addSecs(1);
    } while (QFileInfo::exists(kept));

    dm.closeConnection();
    QString failure;
    const bool movedAside = QFile::rename(live, kept);
    const bool movedIn = movedAside && QFile::rename(restored.file, live);
    if (!movedAside)
        failure = QStringLiteral("O arquivo atual do banco de dados não pôde ser renomeado.");
    else if (!movedIn)
        failure = QStringLiteral("O banco restaurado não pôde ser posto no lugar do atual.");
    else
        try {
            dm.openConnection();
            return QFileInfo(kept).fileName();
        } catch (const DbError &e) {
            failure = e.text();
        }
    if (movedIn)
        QFile::rename(live, restored.file);
    if (movedAside)
        QFile::rename(kept, live);
    dm.openConnection();
    throw DbError(QStringLiteral("A restauração não foi feita; o banco de dados continua como estava.\n\n") + failure);
}

} // namespace Backup
