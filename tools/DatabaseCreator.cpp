#include "DatabaseCreator.h"

#include "datamodule/Credentials.h"
#include "provider/EngineErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <ibase.h>

// The creation script is compiled into the tools library.
static void initResources()
{
    Q_INIT_RESOURCE(tools);
}

namespace {

QString statusText(const ISC_STATUS *status)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector))
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromLocal8Bit(buffer);
    return text;
}

// The empty database file, with WIN1252 as its default character set.
void createEmptyFile(const QString &path)
{
    QString quoted = path;
    quoted.replace(u'\'', QStringLiteral("''"));
    const Credentials pair = credentialsFor(path);
    const QByteArray sql = QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3' "
                                          "PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252")
                               .arg(quoted, pair.userName, pair.password)
                               .toLocal8Bit();
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, sql.constData(), SQL_DIALECT_V6, nullptr))
        throw DbError(QStringLiteral("Não foi possível criar o banco de dados \"%1\".\n%2").arg(path, statusText(status)));
    isc_detach_database(status, &db);
}

// The statements of the creation script: ";" ends one, "--" starts a comment line.
QStringList scriptStatements()
{
    initResources();
    QFile script(QStringLiteral(":/db/criar_banco.sql"));
    if (!script.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("O script de criação do banco de dados não foi encontrado."));
    QStringList statements;
    QString current;
    for (const QString &line : QString::fromUtf8(script.readAll()).split(u'\n')) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            statements << current.trimmed().chopped(1);
            current.clear();
        }
    }
    return statements;
}

void runScript(const QString &path, const QStringList &statements, int level)
{
    const QString name = QStringLiteral("criar-banco-") + QUuid::createUuid().toString(QUuid::Id128);
    QString failure;
    {
        QSqlDatabase db = addFirebirdConnection(name, path);
        if (!db.open()) {
            failure = dbErrorFrom(db.lastError()).text();
        } else {
            for (const QString &statement : statements) {
                QSqlQuery q(db);
                if (!q.exec(statement)) {
                    failure = dbErrorFrom(q.lastError()).text() + QStringLiteral("\n") + statement;
                    break;
                }
            }
            if (failure.isEmpty() && level > 0)
                try {
                    SchemaUpgrade::bringUpToDate(db);
                } catch (const DbError &e) {
                    failure = e.text();
                }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) {
        QFile::remove(path); // a half-made file is no database
        throw DbError(QStringLiteral("Não foi possível criar as tabelas em \"%1\".\n%2").arg(path, failure));
    }
}

} // namespace

void createDatabase(const QString &path, int level)
{
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("O arquivo \"%1\" já existe. Nada foi feito: um banco de dados existente "
                                     "nunca é sobrescrito.").arg(path));
    const QStringList statements = scriptStatements();
    createEmptyFile(path);
    runScript(path, statements, level);
}
