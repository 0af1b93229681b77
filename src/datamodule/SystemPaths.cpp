#include "SystemPaths.h"

#include "dataset/DbError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#ifndef KELMARA_DRIVE_ROOT
#define KELMARA_DRIVE_ROOT "/"
#endif

namespace {

QString &driveRootSetting()
{
    static QString root = QString::fromUtf8(KELMARA_DRIVE_ROOT);
    return root;
}

QString &applicationFolderSetting()
{
    static QString folder;
    return folder;
}

QString withTrailingSeparator(QString folder)
{
    if (!folder.endsWith(SystemPaths::separator()))
        folder += SystemPaths::separator();
    return folder;
}

// First line of a text file, up to the line end, exactly as written.
QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2").arg(path, file.errorString()));
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

} // namespace

namespace SystemPaths {

QString separator()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\");
#else
    return QStringLiteral("/");
#endif
}

QString driveRoot()
{
    return driveRootSetting();
}

void setDriveRoot(const QString &folder)
{
    driveRootSetting() = folder;
}

QString fixedPath(const QString &windowsPath)
{
#ifdef Q_OS_WIN
    return windowsPath;
#else
    QString rest = windowsPath;
    if (rest.startsWith(QLatin1String("C:\\"), Qt::CaseInsensitive))
        rest = rest.mid(3);
    rest.replace(u'\\', u'/');
    return withTrailingSeparator(driveRoot()) + rest;
#endif
}

QString executableFolder()
{
    return withTrailingSeparator(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

QString applicationFolder()
{
    QString &folder = applicationFolderSetting();
    if (folder.isEmpty())
        folder = executableFolder();
    return folder;
}

void setApplicationFolder(const QString &folder)
{
    applicationFolderSetting() = folder;
}

QString aliasFilePath()
{
    return fixedPath(QStringLiteral("C:\\aliaslivro.txt"));
}

QString connectionFilePath()
{
    return fixedPath(QStringLiteral("C:\\conexao.txt"));
}

QString databasePath()
{
    const QString alias = aliasFilePath();
    if (QFile::exists(alias))
        return firstLine(alias) + separator() + kDatabaseFileName;
    return applicationFolder() + kDatabaseFileName;
}

} // namespace SystemPaths
