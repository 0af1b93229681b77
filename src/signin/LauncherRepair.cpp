#include "LauncherRepair.h"

#include "datamodule/SystemPaths.h"
#include "dataset/DbError.h"

#include <QFile>

namespace LauncherRepair {

namespace {

DbError fileError(const QFile &file)
{
    return DbError(QStringLiteral("Erro no arquivo \"%1\": %2").arg(file.fileName(), file.errorString()));
}

QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(file);
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLatin1(line);
}

void rewrite(const QString &path)
{
    QFile file(path);
    if (!file.remove())
        throw fileError(file);
    if (!file.open(QIODevice::WriteOnly) || file.write(kLauncherLine.toLatin1() + "\r\n") < 0 || !file.flush())
        throw fileError(file);
}

} // namespace

void run(Form form)
{
    const QString batch = SystemPaths::fixedPath(kBatchFile);
    if (!QFile::exists(batch))
        return;
    const QString line = firstLine(batch);
    if (form == Form::ServerMarker && !QFile::exists(SystemPaths::fixedPath(kServerMarker)))
        return;
    if (line == kLauncherLine)
        return;
    rewrite(batch);
}

} // namespace LauncherRepair
