#include "TestDatabase.h"

#include "datamodule/Credentials.h"
#include "provider/EngineErrors.h"
#include "DatabaseCreator.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace {

QSqlQuery run(const QString &connection, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(QSqlDatabase::database(connection));
    if (!q.prepare(sql))
        throw DbError(dbErrorFrom(q.lastError()).text() + QStringLiteral("\n") + sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        throw DbError(dbErrorFrom(q.lastError()).text() + QStringLiteral("\n") + sql);
    return q;
}

} // namespace

QStringList engineToolArguments(const QString &databasePath)
{
    const Credentials pair = credentialsFor(databasePath);
    return {QStringLiteral("-user"), pair.userName, QStringLiteral("-password"), pair.password, databasePath};
}

TestDatabase::TestDatabase() : TestDatabase(QStringLiteral(KELMARA_TEST_TEMPLATE)) {}

TestDatabase::TestDatabase(const QString &templateFile)
    : m_connection(QStringLiteral("teste-") + QUuid::createUuid().toString(QUuid::Id128))
{
    if (!QFile::copy(templateFile, path()))
        qFatal("cannot copy the template database %s", qPrintable(templateFile));
    QSqlDatabase db = addFirebirdConnection(m_connection, path());
    if (!db.open())
        qFatal("cannot open the test database: %s", qPrintable(db.lastError().text()));
}

QString TestDatabase::firstLevelTemplate()
{
    static QTemporaryDir folder;
    static const QString file = [] {
        const QString path = folder.filePath(QStringLiteral("primeiro-nivel.gdb"));
        createDatabase(path, 0);
        return path;
    }();
    return file;
}

TestDatabase::~TestDatabase()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QString TestDatabase::path() const
{
    return m_dir.filePath(QStringLiteral("LIVRO.GDB"));
}

std::unique_ptr<TDM> TestDatabase::connect(const QString &connectionName) const
{
    return std::make_unique<TDM>(nullptr, connectionName, path());
}

void TestDatabase::exec(const QString &sql, const QVariantList &values) const
{
    run(m_connection, sql, values);
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q = run(m_connection, sql, values);
    return q.next() ? q.value(0) : QVariant();
}

QList<QVariantList> TestDatabase::rows(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q = run(m_connection, sql, values);
    QList<QVariantList> result;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        result << row;
    }
    return result;
}

void TestDatabase::disconnect() const
{
    QSqlDatabase::database(m_connection, false).close();
}
