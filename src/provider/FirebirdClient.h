#pragma once

#include "dataset/DbError.h"
#include "dataset/FieldDef.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <ibase.h>

#include <memory>
#include <string_view>
#include <vector>

class RowStore;

// Reading and writing through the Firebird client itself, on the attachment
// that Qt's driver already holds. Qt's driver builds a QVariant per cell,
// converts every WIN1252 text to UTF-8 and back, reads every picture while
// fetching its row and prepares a statement anew in each transaction; here
// texts come back as the bytes stored (WIN1252), pictures stay behind their
// blob ids until someone asks for them, and statements are prepared once per
// connection. Only the providers of the dataset layer use this unit.
namespace Firebird {

// The attachment of an open QIBASE connection; DbError otherwise.
isc_db_handle attachmentOf(const QSqlDatabase &db);

// A read-only transaction of our own on the attachment, ended when destroyed.
// A snapshot keeps every row version it can see, so blob ids read in it stay
// valid until it ends; a read-committed one holds nothing back.
class Transaction
{
public:
    // Reading: read committed or a snapshot. Writing: a snapshot that waits
    // for a row another transaction holds, as the driver's own transactions.
    enum class Isolation { ReadCommitted, Snapshot, Write };
    Transaction(isc_db_handle db, Isolation isolation);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    isc_db_handle database() const { return m_db; }
    isc_tr_handle *handle() { return &m_handle; }
    // Ends the reading: DbError with the engine's text when the commit fails.
    void commit();
    // Ends it quietly (rolled back), as when destroyed.
    void end();

private:
    isc_db_handle m_db;
    isc_tr_handle m_handle = 0;
};

// An attachment of our own to the database a QIBASE connection is open on,
// with its user and password, detached when destroyed. Its traffic is
// compressed on a network (the engine's wire compression).
class Attachment
{
public:
    Attachment(const QString &database, const QString &user, const QString &password);
    ~Attachment();
    Attachment(const Attachment &) = delete;
    Attachment &operator=(const Attachment &) = delete;

    isc_db_handle handle() const { return m_handle; }

private:
    isc_db_handle m_handle = 0;
};

// One SELECT with positional '?' parameters, read forward only.
class Cursor
{
public:
    // DbError, with the engine's text, when the statement cannot be prepared.
    Cursor(Transaction &transaction, const QString &sql);
    ~Cursor();
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    int parameterCount() const;
    // Binds by position: integers, amounts, dates, texts, bytes or null.
    void execute(const QVariantList &parameters = {});
    // The same on another transaction of the attachment: a statement is
    // prepared once and may run in any transaction.
    void execute(Transaction &transaction, const QVariantList &parameters = {});
    // Runs an INSERT, UPDATE or DELETE; with RETURNING, its one row is the
    // current one, and false says that no row was touched (the values null).
    bool run(Transaction &transaction, const QVariantList &parameters = {});
    bool fetch(); // the next row; false after the last; DbError when the engine fails

    int columnCount() const { return int(m_columns.size()); }
    QString columnName(int column) const;
    FieldType columnType(int column) const { return m_columns[size_t(column)].type; }
    int columnWidth(int column) const { return m_columns[size_t(column)].width; }

    // The current row's values. A column of a type that cannot be read so
    // (a text read as a number, a number as a date) is a DbError naming it.
    bool isNull(int column) const;
    qint64 integer(int column) const; // exact numbers (scale cut off) and floats (truncated)
    double amount(int column) const;  // exact numbers with their scale, and floats
    qint64 julianDay(int column) const; // dates, and the date of a timestamp
    // Texts come back in WIN1252, the character set of every text column:
    // for those the engine only copies the bytes.
    std::string_view win1252Bytes(int column) const;
    ISC_QUAD blobId(int column) const;

private:
    struct Column
    {
        FieldType type = FieldType::Text;
        int width = 0;  // texts: characters
        short scale = 0; // exact numerics: digits after the point
        size_t offset = 0; // into the row buffer
    };
    XSQLVAR &var(int column) const;
    qint64 unscaled(int column) const;
    double floating(int column) const;
    DbError notReadableAs(int column, FieldType type) const;
    void describeColumns();
    void bindParameters(Transaction &transaction, const QVariantList &parameters);

    Transaction *m_transaction;
    isc_stmt_handle m_statement = 0;
    std::unique_ptr<char[]> m_outArea; // the XSQLDA of the columns
    std::unique_ptr<char[]> m_inArea;  // the XSQLDA of the parameters
    std::vector<char> m_row;           // the fetched values
    std::vector<short> m_rowNulls;
    std::vector<QByteArray> m_inData;
    std::vector<short> m_inNulls;
    std::vector<Column> m_columns;
    bool m_open = false;
};

// Ends every transaction of ours still open on `db` and drops the statements
// kept for it: the driver cannot detach while one is open. Cursors and blob
// reads on them then fail with the engine's message instead of reading.
void endTransactions(isc_db_handle db);

// What every read of the tables shares on one attachment, so that a read
// costs the network no more than its statement: a read-only read-committed
// transaction, kept open (the engine counts such a transaction committed
// from its start, so it holds back nothing; each statement sees what is
// committed when it runs), and the statements prepared in it, by their text.
Transaction &keptReadTransaction(isc_db_handle db);
Cursor &keptCursor(isc_db_handle db, const QString &sql);

// A new blob holding `bytes`, written on `transaction`: its id for a parameter.
ISC_QUAD writeBlob(Transaction &transaction, const QByteArray &bytes);
// A blob's whole content, read on `transaction`.
QByteArray readBlob(Transaction &transaction, ISC_QUAD id);
// Blob ids kept in a RowStore as the reference of a stored picture.
quint64 blobReference(ISC_QUAD id);
QByteArray readBlob(Transaction &transaction, quint64 reference);

// Puts column `c` of the cursor's row into the store as a value of `type`
// (the type the program gives the column); a number may be read as a text,
// anything else of another type is a DbError naming the column. Pictures stay
// in the database with their blob id as reference.
void storeCell(RowStore &store, int row, int c, FieldType type, const Cursor &cursor);

// The SQL text with ":name" parameters turned into '?' (outside quotes and
// comments); `order` receives, for each parameter in order, its name in
// capitals (":NAME"), or an empty text for a '?'.
QString positionalSql(const QString &sql, QStringList &order);

} // namespace Firebird
