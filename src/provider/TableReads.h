#pragma once

#include "FirebirdClient.h"

#include <QString>
#include <QVariant>

#include <map>
#include <memory>

class RowStore;

// Where a read takes its transaction and statements: the ones kept for the
// connection on the window thread (Firebird::keptCursor), or its own, for a
// read done beside the windows (ReadAhead), which prepares what it runs.
class ReadStatements
{
public:
    static ReadStatements kept(isc_db_handle db);
    static ReadStatements own(isc_db_handle db); // a read-committed transaction of its own

    Firebird::Transaction &transaction();
    Firebird::Cursor &cursor(const QString &sql);
    // Ends its own transaction: DbError when the commit fails.
    void finish();

private:
    explicit ReadStatements(isc_db_handle db) : m_db(db) {}

    isc_db_handle m_db;
    std::unique_ptr<Firebird::Transaction> m_own;
    std::map<QString, std::unique_ptr<Firebird::Cursor>> m_cursors;
};

// Every row of a table's select into `store`, each column as `defs` says.
void readRows(Firebird::Cursor &cursor, const FieldDefs &defs, RowStore &store);

// Where a table keeps a picture, and how a row is found.
struct PictureColumn
{
    QString table;  // TMEMBRO
    QString column; // MEMFOTO
    QString key;    // MEMCODIGO
    bool onServer = false;
};

// The picture of the row whose key is `code`; empty when it has none.
QByteArray readPicture(ReadStatements &statements, const PictureColumn &where, const QVariant &code);
