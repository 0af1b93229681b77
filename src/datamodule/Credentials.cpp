#include "Credentials.h"

#include "SystemPaths.h"
#include "dataset/DbError.h"
#include "provider/DatabaseLocation.h"

#include <QDir>
#include <QFile>

namespace {

DbError connectionFileError(const QString &what)
{
    return DbError(what + QStringLiteral("\n\n") + connectionFileHelp());
}

Credentials fromConnectionFile()
{
    const QString path = SystemPaths::connectionFilePath();
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists())
        throw connectionFileError(
            QStringLiteral("O banco de dados está em um servidor, e o arquivo de conexão \"%1\" não existe.").arg(shown));
    if (!file.open(QIODevice::ReadOnly))
        throw connectionFileError(QStringLiteral("O arquivo de conexão \"%1\" não pôde ser lido: %2. Quem usa o "
                                                 "programa precisa poder lê-lo (no Linux, estar no grupo kelmara).")
                                      .arg(shown, file.errorString()));
    QStringList lines = QString::fromUtf8(file.read(4096)).split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    if (lines.size() < 2 || lines[0].trimmed().isEmpty() || lines[1].isEmpty())
        throw connectionFileError(
            QStringLiteral("O arquivo de conexão \"%1\" não tem o usuário e a senha.").arg(shown));
    return {lines[0].trimmed(), lines[1]};
}

} // namespace

QString connectionFileHelp()
{
    return QStringLiteral("Escreva nele duas linhas: na primeira, o usuário do Firebird que foi criado no servidor "
                          "para o programa (o dono do banco de dados, não o SYSDBA); na segunda, a senha desse usuário.");
}

Credentials credentialsFor(const QString &databasePath)
{
    if (!DatabaseLocation::of(databasePath).onServer())
        return {QStringLiteral("SYSDBA"), QString()};
    return fromConnectionFile();
}

QSqlDatabase addFirebirdConnection(const QString &connectionName, const QString &databasePath)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    const Credentials pair = credentialsFor(databasePath);
    db.setDatabaseName(databasePath);
    db.setUserName(pair.userName);
    db.setPassword(pair.password);
    return db;
}
