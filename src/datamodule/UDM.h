#pragma once

#include "SchemaColumns.h"
#include "dataset/DataSource.h"
#include "provider/DatasetProvider.h"
#include "dataset/Field.h"
#include "provider/SqlTableSource.h"
#include "dataset/TableDataset.h"

#include <QObject>
#include <QSqlDatabase>

// The data module: the one database connection of the program and, per
// table, the chain SQL<T> -> DSP<T> -> TB<T> -> DS<T> with a field object
// TB<T><COLUMN> per column. Every window works on these shared datasets.
class TDM : public QObject
{
    Q_OBJECT
public:
    // Opens the connection to the database file found by the alias file or
    // the application folder (or to `databasePath` when given). DbError,
    // naming the path, when the connection is refused.
    explicit TDM(QObject *owner, const QString &connectionName = QStringLiteral("LIVRO"),
                 const QString &databasePath = {});
    ~TDM() override;

    const QString &connectionName() const { return m_connectionName; }
    const QString &databasePath() const { return m_databasePath; }
    QSqlDatabase SQLConnection1() const;
    const QList<TableDataset *> &tables() const { return m_tables; }

    // Whether changes were written since the start of the run or since
    // clearDataWritten (after a good copy).
    bool dataWritten() const { return m_dataWritten; }
    void clearDataWritten() { m_dataWritten = false; }
    void noteDataWritten() { m_dataWritten = true; } // by a connection of its own

    // For a change of the file under the connection (a restore): closes
    // every open table, remembering it and its current row, then the
    // connection.
    void closeConnection();
    // Opens the connection again and re-reads the tables closeConnection
    // closed, each on the row it was on; then reopened(). DbError when the
    // connection is refused (the tables stay closed; it can be tried again).
    void openConnection();

#define KELMARA_DECLARE_CHAIN(stem, table) \
    SqlTableSource *SQL##stem = nullptr;   \
    DatasetProvider *DSP##stem = nullptr;  \
    TableDataset *TB##stem = nullptr;      \
    DataSource *DS##stem = nullptr;
    KELMARA_TABLES(KELMARA_DECLARE_CHAIN)
#undef KELMARA_DECLARE_CHAIN

#define KELMARA_DECLARE_FIELD(stem, column, kind) Field *TB##stem##column = nullptr;
    KELMARA_COLUMNS(KELMARA_DECLARE_FIELD)
#undef KELMARA_DECLARE_FIELD

signals:
    void reopened();

private:
    void connectDatabase();
    void createChains();

    QString m_connectionName;
    QString m_databasePath;
    QList<TableDataset *> m_tables;
    bool m_dataWritten = false;
    QList<std::pair<TableDataset *, QVariant>> m_closedTables; // with the code of the current row
};

// The program's data module, created by the sign-in window.
extern TDM *DM;
