#include "StartupUpgrade.h"

#include "uikit/Appearance.h"
#include "uikit/Messages.h"
#include "datamodule/SchemaUpgrade.h"
#include "datamodule/UDM.h"
#include "backup/BackupTask.h"
#include "dataset/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QProgressDialog>

namespace StartupUpgrade {

namespace {

const QString kTitle = QStringLiteral("Atualização do Banco de Dados");
const QString kDoing = QStringLiteral("O banco de dados está sendo atualizado para as categorias do caixa e os "
                                      "dízimos por membro. Nada do que ele guarda é alterado.");
constexpr int kCopyShare = 90; // of the box's progress: the copy takes nearly all the time

class ProgressBox : public QProgressDialog
{
public:
    ProgressBox() : QProgressDialog(kDoing, QString(), 0, 100)
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
        setLabelText(kDoing + QStringLiteral("\n\n") + step);
        QCoreApplication::processEvents();
    }
};

// The checked copy made before anything is changed; its path, or a DbError
// with the reason.
QString copyBefore(const QString &database, ProgressBox &box)
{
    const QString folder = Backup::folderForRun(database);
    QString path;
    BackupTask task([&](const Backup::Progress &progress) {
        path = Backup::makeCheckedCopy(database, folder, kBackupTag, progress).path;
    });
    QObject::connect(&task, &BackupTask::progress, &box, [&box](int percent, const QString &step) {
        box.say(percent * kCopyShare / 100, step);
    });
    if (!task.run())
        throw DbError(QStringLiteral("O banco de dados não foi atualizado, porque a cópia de segurança de antes da "
                                     "atualização não foi feita ou não passou na conferência.\n\n")
                      + SchemaUpgrade::unchangedNote() + QStringLiteral("\n\n") + task.failure());
    return path;
}

void upgrade(TDM &dm)
{
    const QSqlDatabase db = dm.SQLConnection1();
    if (const QString refusal = SchemaUpgrade::refusal(db); !refusal.isEmpty())
        throw DbError(refusal);
    ProgressBox box;
    const QString copy = copyBefore(dm.databasePath(), box);
    int percent = kCopyShare;
    try {
        SchemaUpgrade::bringUpToDate(db, [&](const QString &step) { box.say(qMin(99, ++percent), step); });
    } catch (const DbError &) {
        if (!SchemaUpgrade::behind(db))
            return; // another workstation brought it up to date meanwhile
        throw;
    }
    box.hide();
    Messages::information(QStringLiteral("O banco de dados foi atualizado: o caixa agora tem categorias, e cada "
                                         "movimentação pode ter o membro que a deu e um documento.\n\nAntes da "
                                         "atualização foi feita e conferida a cópia de segurança \"%1\".")
                              .arg(QDir::toNativeSeparators(copy)));
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
