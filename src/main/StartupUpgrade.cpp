#include "StartupUpgrade.h"

#include "uikit/Appearance.h"
#include "uikit/Messages.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/UDM.h"
#include "backup/Backup.h"
#include "backup/BackupTask.h"
#include "dataset/DbError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>

namespace StartupUpgrade {

namespace {

const QString kTitle = QStringLiteral("Atualização do Banco de Dados");

// What the box says throughout, for a database at `level`.
QString doing(int level)
{
    return QStringLiteral("O banco de dados está sendo atualizado para %1. Nada do que ele guarda se perde.")
        .arg(SchemaUpgrade::bringsAbove(level));
}

class ProgressBox : public QProgressDialog
{
public:
    explicit ProgressBox(int level) : QProgressDialog(doing(level), QString(), 0, 100), m_doing(doing(level))
    {
        setObjectName(QStringLiteral("FAtualizacao"));
        setWindowTitle(kTitle);
        setWindowModality(Qt::ApplicationModal);
        setMinimumDuration(0);
        setAutoClose(false);
        setMinimumWidth(Appearance::scaled(460));
        show();
    }
    void say(int percent, const QString &step)
    {
        setValue(percent);
        setLabelText(m_doing + QStringLiteral("\n\n") + step);
        QCoreApplication::processEvents();
    }

private:
    QString m_doing;
};

// Runs `work` on a worker thread, its progress shown from `from` to `to`
// percent of the box; false when it failed (`task.failure()` says why).
bool runShown(BackupTask &task, ProgressBox &box, int from, int to)
{
    QObject::connect(&task, &BackupTask::progress, &box, [&box, from, to](int percent, const QString &step) {
        box.say(from + percent * (to - from) / 100, step);
    });
    return task.run();
}

// The checked copy made before anything is changed; its path, or a DbError
// with the reason.
QString copyBefore(const QString &database, int level, ProgressBox &box, int share)
{
    const QString folder = Backup::folderForRun(database);
    QString path;
    BackupTask task([&](const Backup::Progress &progress) {
        path = Backup::makeCheckedCopy(database, folder, kBackupTag, progress).path;
    });
    if (!runShown(task, box, 0, share))
        throw DbError(QStringLiteral("O banco de dados não foi atualizado, porque a cópia de segurança de antes da "
                                     "atualização não foi feita ou não passou na conferência.\n\n")
                      + SchemaUpgrade::unchangedNote(level) + QStringLiteral("\n\n") + task.failure());
    return path;
}

// The engine leaves the space of the rows' old versions in the file as it
// was: passwords as typed would stay there, unseen by the program but read by
// whoever opens the file with another tool. A copy holds only the rows as
// they are now, so the file is made anew from one (checked, then restored
// for replacing) and the old file deleted. What the box after the upgrade
// says of it.
QString remakeFile(TDM &dm, ProgressBox &box, int from)
{
    if (DatabaseLocation::of(dm.databasePath()).onServer())
        return QStringLiteral("O banco de dados está em um servidor: peça a quem cuida dele que o refaça a partir de "
                              "uma cópia (veja o LEIA-ME), para que as senhas antigas não fiquem no espaço livre do "
                              "arquivo.");
    const QTemporaryDir folder;
    Backup::RestoredCopy restored;
    BackupTask task([&](const Backup::Progress &progress) {
        const auto half = [&progress](int base) {
            return [&progress, base](int percent, const QString &step) { progress(base + percent / 2, step); };
        };
        const BackupCopy copy = Backup::makeCheckedCopy(dm.databasePath(), folder.path(), {}, half(0));
        restored = Backup::restoreForReplacing(dm.databasePath(), copy, half(50));
    });
    const QString notRemade = QStringLiteral("As senhas antigas foram apagadas das contas, mas o arquivo do banco de "
                                             "dados não pôde ser refeito, e elas ainda podem estar no espaço livre "
                                             "dele: faça uma cópia e restaure-a em Configurações > Cópia de "
                                             "Segurança.\n\n");
    if (!runShown(task, box, from, 99))
        return notRemade + task.failure();
    try {
        const QString kept = Backup::replaceDatabase(dm, restored, QDateTime::currentDateTime());
        QFile::remove(QFileInfo(dm.databasePath()).absoluteDir().filePath(kept));
    } catch (const DbError &e) {
        return notRemade + e.text();
    }
    return {};
}

void upgrade(TDM &dm)
{
    const QSqlDatabase db = dm.SQLConnection1();
    if (const QString refusal = SchemaUpgrade::refusal(db); !refusal.isEmpty())
        throw DbError(refusal);
    const int level = SchemaUpgrade::storedLevel(db);
    const bool remake = SchemaUpgrade::remakesFileAbove(level);
    const int copyShare = remake ? 45 : 90; // the copies take nearly all the time
    ProgressBox box(level);
    const QString copy = copyBefore(dm.databasePath(), level, box, copyShare);
    int percent = copyShare;
    try {
        SchemaUpgrade::bringUpToDate(db, [&](const QString &step) { box.say(qMin(copyShare + 9, ++percent), step); });
    } catch (const DbError &) {
        if (!SchemaUpgrade::behind(db))
            return; // another workstation brought it up to date meanwhile
        throw;
    }
    QString notes = QStringLiteral("Antes da atualização foi feita e conferida a cópia de segurança \"%1\".")
                        .arg(QDir::toNativeSeparators(copy));
    if (remake) {
        notes += QStringLiteral(" Ela guarda as senhas antigas como foram digitadas: guarde-a em lugar seguro, ou "
                                "apague-a quando não precisar mais dela.");
        if (const QString remade = remakeFile(dm, box, percent); !remade.isEmpty())
            notes += QStringLiteral("\n\n") + remade;
    }
    box.hide();
    Messages::information(QStringLiteral("O banco de dados foi atualizado.\n\n%1\n\n%2")
                              .arg(SchemaUpgrade::broughtAbove(level), notes));
}

} // namespace

bool run(TDM &dm)
{
    try {
        if (SchemaUpgrade::behind(dm.SQLConnection1()))
            upgrade(dm);
        return !SchemaUpgrade::behind(dm.SQLConnection1());
    } catch (const DbError &e) {
        Messages::error(e.text());
        return false;
    }
}

} // namespace StartupUpgrade
