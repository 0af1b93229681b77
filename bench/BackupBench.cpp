#include "BackupBench.h"

#include "BenchKit.h"
#include "datamodule/UDM.h"
#include "backup/Backup.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace Bench;

// Making a checked copy of the database as "Fazer Cópia" does, with the file
// held open by a data module as the program holds it: the copy, the check
// (test restore, validation, counts) and the whole, once.
void backupFigures(const QString &path, const QString &suffix)
{
    TDM dm(nullptr, QStringLiteral("bench-copia"), path);
    QTemporaryDir folder;
    QElapsedTimer clock;
    double copyMs = 0;
    clock.start();
    const BackupCopy copy = Backup::makeCheckedCopy(path, folder.path(), {}, [&](int percent, const QString &) {
        if (percent >= 45 && copyMs == 0)
            copyMs = double(clock.nsecsElapsed()) / 1e6;
    });
    const double wholeMs = double(clock.nsecsElapsed()) / 1e6;
    printFigure({QStringLiteral("backup_copy") + suffix, copyMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("backup_check") + suffix, wholeMs - copyMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("backup_copy_and_check") + suffix, wholeMs, QStringLiteral("ms")});
    printFigure({QStringLiteral("backup_members") + suffix, double(copy.counts ? copy.counts->members() : 0), QStringLiteral("rows")});
    printFigure({QStringLiteral("backup_file") + suffix, double(copy.size) / (1024.0 * 1024.0), QStringLiteral("MiB")});
}

