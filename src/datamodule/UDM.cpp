#include "UDM.h"

#include "Credentials.h"
#include "Schema.h"
#include "Session.h"
#include "SystemPaths.h"
#include "provider/DatabaseLocation.h"
#include "provider/EngineErrors.h"
#include "StopSignals.h"

#include <QDir>

TDM *DM = nullptr;

namespace {
// The embedded engine opens a database file for one process only: a second
// Kelmara started on the same computer (or isql, gbak) is refused with this.
bool openedByAnotherProgram(const QSqlError &error)
{
    return error.databaseText().contains(QLatin1String("Database already opened with engine instance"),
                                         Qt::CaseInsensitive);
}

// A server that does not know the user and password of the connection file.
bool pairRefused(const QString &path, const QSqlError &error)
{
    return DatabaseLocation::of(path).onServer()
           && error.databaseText().contains(QLatin1String("user name and password are not defined"), Qt::CaseInsensitive);
}

// Why the file at `path` could not be opened, for the start-up error box.
QString openFailure(const QString &path, const QSqlError &error)
{
    if (pairRefused(path, error))
        return withEngineText(QStringLiteral("O servidor do banco de dados \"%1\" recusou o usuário e a senha do "
                                             "arquivo de conexão \"%2\".\n\n%3")
                                  .arg(path, QDir::toNativeSeparators(SystemPaths::connectionFilePath()),
                                       connectionFileHelp()),
                              error.databaseText().trimmed());
    if (openedByAnotherProgram(error))
        return withEngineText(QStringLiteral("O banco de dados \"%1\" já está aberto por outro programa neste computador. "
                                             "Feche o outro Kelmara (ou o programa que o usa) e tente de novo.")
                                  .arg(path),
                              error.databaseText().trimmed());
    return QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n%2")
        .arg(path, dbErrorFrom(error).text());
}

} // namespace

TDM::TDM(QObject *owner, const QString &connectionName, const QString &databasePath)
    : QObject(owner), m_connectionName(connectionName),
      m_databasePath(databasePath.isEmpty() ? SystemPaths::databasePath() : databasePath)
{
    setObjectName(QStringLiteral("DM"));
    connectDatabase();
    createChains();
    if (!DM)
        DM = this;
}

TDM::~TDM()
{
    if (DM == this) {
        Session::end();
        DM = nullptr;
    }
    qDeleteAll(children());
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        endOpenReads(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase TDM::SQLConnection1() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void TDM::connectDatabase()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        endOpenReads(QSqlDatabase::database(m_connectionName, false));
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    QString failure;
    {
        QSqlDatabase db = addFirebirdConnection(m_connectionName, m_databasePath);
        if (!db.isValid()) {
            failure = QStringLiteral("O driver do Firebird (QIBASE) do Qt não está instalado.");
        } else {
            const bool opened = db.open();
            reclaimStopSignals(); // the database client sets its own signal handlers when it attaches
            if (!opened)
                failure = openFailure(m_databasePath, db.lastError());
        }
    }
    if (failure.isEmpty())
        return;
    QSqlDatabase::removeDatabase(m_connectionName);
    throw DbError(failure);
}

void TDM::createChains()
{
    for (const TableDef &t : Schema::tables()) {
        auto *sql = new SqlTableSource(m_connectionName, t.table, this);
        sql->setObjectName(QStringLiteral("SQL") + t.stem);
        auto *dsp = new DatasetProvider(sql, this);
        dsp->setObjectName(QStringLiteral("DSP") + t.stem);
        connect(dsp, &DatasetProvider::applied, this, [this] { m_dataWritten = true; });
        auto *tb = new TableDataset(QStringLiteral("TB") + t.stem, t.columns, this);
        tb->setProvider(dsp);
        auto *ds = new DataSource(tb, this);
        ds->setObjectName(QStringLiteral("DS") + t.stem);
        m_tables << tb;
    }
#define KELMARA_BIND_CHAIN(stem, table)                                                      \
    SQL##stem = findChild<SqlTableSource *>(QStringLiteral("SQL" #stem), Qt::FindDirectChildrenOnly); \
    DSP##stem = findChild<DatasetProvider *>(QStringLiteral("DSP" #stem), Qt::FindDirectChildrenOnly); \
    TB##stem = findChild<TableDataset *>(QStringLiteral("TB" #stem), Qt::FindDirectChildrenOnly);  \
    DS##stem = findChild<DataSource *>(QStringLiteral("DS" #stem), Qt::FindDirectChildrenOnly);
    KELMARA_TABLES(KELMARA_BIND_CHAIN)
#undef KELMARA_BIND_CHAIN
#define KELMARA_BIND_FIELD(stem, column, kind) TB##stem##column = TB##stem->fieldByName(QStringLiteral(#column));
    KELMARA_COLUMNS(KELMARA_BIND_FIELD)
#undef KELMARA_BIND_FIELD
}

void TDM::closeConnection()
{
    for (TableDataset *t : m_tables) {
        if (!t->active())
            continue;
        m_closedTables.append({t, t->recordCount() > 0 ? t->fieldValue(0) : QVariant()});
        t->close();
    }
    for (DatasetProvider *provider : findChildren<DatasetProvider *>(Qt::FindDirectChildrenOnly))
        provider->forgetReadAhead(); // of the file that is being closed
    QSqlDatabase db = SQLConnection1();
    endOpenReads(db);
    db.close();
}

void TDM::openConnection()
{
    QSqlDatabase db = SQLConnection1();
    if (!db.open())
        throw DbError(QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n%2")
                          .arg(m_databasePath, dbErrorFrom(db.lastError()).text()));
    Session::tellEngine(db); // a new attachment knows nobody
    const auto closed = std::exchange(m_closedTables, {});
    for (const auto &[table, code] : closed) {
        table->open();
        if (!code.isNull())
            table->locate(table->fieldDefs().first().name, {code});
    }
    emit reopened();
}
