#include "FirebirdClient.h"

#include "EngineErrors.h"
#include "dataset/RowStore.h"

#include <QDate>
#include <QSqlDriver>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace Firebird {

namespace {

const short kDialect = 3;
const short kOctets = 1;           // character set ids: bytes as they are,
const short kWin1252 = 53;         // WIN1252,
const short kUtf8 = 4;             // the connection's character set (Qt's driver attaches as UTF8)
const int kUtf8BytesPerChar = 4;
const qint64 kJulianDayOfZero = 2400001; // ISC_DATE counts days from 17 November 1858
const unsigned short kLargestSegment = 65535;

const int kLongestTextCharacters = 32765 / kUtf8BytesPerChar; // of a UTF-8 VARCHAR parameter
const short kLongestTimeOrTruth = 32; // bytes of a TIME or BOOLEAN written as text

// A value of the client's buffers, which need not be aligned.
template <class T>
T valueAt(const char *data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

template <class T>
QByteArray bytesOf(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}

// Every transaction of ours, of the window thread and of the reads done
// beside it (ReadAhead).
std::vector<Transaction *> &openTransactions()
{
    static std::vector<Transaction *> open;
    return open;
}
std::mutex &openTransactionsMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Raises the engine's message when the call failed.
void check(const ISC_STATUS *status)
{
    if (status[0] != 1 || status[1] == 0)
        return;
    QString text;
    const ISC_STATUS *vector = status;
    char line[1024];
    while (fb_interpret(line, sizeof line, &vector) > 0) {
        if (!text.isEmpty())
            text += u'\n';
        text += QString::fromUtf8(line);
    }
    throw dbErrorFromEngine(text);
}

XSQLDA *sqlda(std::unique_ptr<char[]> &area, int columns)
{
    const size_t size = XSQLDA_LENGTH(std::max(columns, 1));
    area.reset(new char[size]);
    std::memset(area.get(), 0, size);
    auto *da = reinterpret_cast<XSQLDA *>(area.get());
    da->version = SQLDA_VERSION1;
    da->sqln = short(std::max(columns, 1));
    return da;
}

XSQLDA *sqlda(const std::unique_ptr<char[]> &area)
{
    return reinterpret_cast<XSQLDA *>(area.get());
}

size_t aligned(size_t offset)
{
    return (offset + 7) & ~size_t(7);
}

// How the reader holds a column of the engine's type `sqltype`.
enum class Held { Exact, Float, Date, Timestamp, Text, AsText, Blob, Unknown };

Held heldOf(short sqltype)
{
    switch (sqltype & ~1) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return Held::Exact;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return Held::Float;
    case SQL_TYPE_DATE:
        return Held::Date;
    case SQL_TIMESTAMP:
        return Held::Timestamp;
    case SQL_TEXT:
    case SQL_VARYING:
        return Held::Text;
    case SQL_TYPE_TIME:
    case SQL_BOOLEAN:
        return Held::AsText; // the engine writes them as text: "12:30:00.0000", "TRUE"
    case SQL_BLOB:
        return Held::Blob;
    default:
        return Held::Unknown;
    }
}

const char *engineTypeName(short sqltype)
{
    switch (sqltype & ~1) {
    case SQL_ARRAY:
        return "ARRAY";
    case SQL_QUAD:
        return "QUAD";
    case SQL_NULL:
        return "NULL";
    default:
        return nullptr;
    }
}

FieldType typeOf(const XSQLVAR &v)
{
    switch (heldOf(v.sqltype)) {
    case Held::Exact:
        return v.sqlscale < 0 ? FieldType::Money : FieldType::Integer;
    case Held::Float:
        return FieldType::Money;
    case Held::Date:
    case Held::Timestamp:
        return FieldType::Date;
    case Held::Blob:
        return FieldType::Blob;
    case Held::Text:
    case Held::AsText:
    case Held::Unknown:
        break;
    }
    return FieldType::Text;
}

const char *programTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
        return "número inteiro";
    case FieldType::Money:
        return "valor";
    case FieldType::Date:
        return "data";
    case FieldType::Blob:
        return "fotografia";
    case FieldType::Text:
        break;
    }
    return "texto";
}

// A text as a parameter carries it: in UTF-8, at most the characters (not
// UTF-16 units) the engine takes in a VARCHAR parameter of that character
// set, so a long text is cut between two characters, never inside one.
QByteArray parameterText(const QString &text)
{
    qsizetype end = 0;
    for (int characters = 0; end < text.size() && characters < kLongestTextCharacters; ++characters)
        end += text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    return text.left(end).toUtf8();
}

const qint64 kTimeUnitsPerSecond = 10000; // ISC_TIME counts ten-thousandths of a second

ISC_TIME iscTime(const QTime &time)
{
    return ISC_TIME(qint64(time.msecsSinceStartOfDay()) * (kTimeUnitsPerSecond / 1000));
}

} // namespace

isc_db_handle attachmentOf(const QSqlDatabase &db)
{
    if (!db.isOpen())
        throw connectionNotOpen(db.connectionName());
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || handle.metaType().sizeOf() != sizeof(isc_db_handle))
        throw DbError(QStringLiteral("A conexão \"%1\" não é uma conexão do Firebird.").arg(db.connectionName()));
    return *static_cast<const isc_db_handle *>(handle.constData());
}

Attachment::Attachment(const QString &database, const QString &user, const QString &password)
{
    QByteArray dpb(1, char(isc_dpb_version1));
    const auto add = [&dpb](char item, const QByteArray &value) {
        dpb += item;
        dpb += char(value.size());
        dpb += value;
    };
    add(isc_dpb_user_name, user.toUtf8());
    add(isc_dpb_password, password.toUtf8());
    add(isc_dpb_lc_ctype, QByteArrayLiteral("UTF8")); // as Qt's driver: parameters go as UTF-8
    add(isc_dpb_config, QByteArrayLiteral("WireCompression=true"));
    const QByteArray name = database.toUtf8();
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, short(name.size()), name.constData(), &m_handle, short(dpb.size()), dpb.constData());
    check(status);
}

Attachment::~Attachment()
{
    ISC_STATUS_ARRAY status;
    endTransactions(m_handle);
    if (m_handle)
        isc_detach_database(status, &m_handle);
}

Transaction::Transaction(isc_db_handle db, Isolation isolation) : m_db(db)
{
    static const char readCommitted[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                                         isc_tpb_rec_version, isc_tpb_nowait};
    static const char snapshot[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_concurrency, isc_tpb_nowait};
    static const char write[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_concurrency, isc_tpb_wait};
    const std::string_view tpb = isolation == Isolation::ReadCommitted ? std::string_view(readCommitted, sizeof readCommitted)
                                 : isolation == Isolation::Snapshot    ? std::string_view(snapshot, sizeof snapshot)
                                                                       : std::string_view(write, sizeof write);
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &m_handle, 1, &m_db, unsigned(tpb.size()), tpb.data());
    check(status);
    std::lock_guard lock(openTransactionsMutex());
    openTransactions().push_back(this);
}

Transaction::~Transaction()
{
    end();
    std::lock_guard lock(openTransactionsMutex());
    auto &open = openTransactions();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

void Transaction::commit()
{
    if (!m_handle)
        throw DbError(QStringLiteral("A transação já foi encerrada: a conexão com o banco de dados foi fechada."));
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &m_handle);
    if (status[0] == 1 && status[1] != 0) {
        end();
        check(status);
    }
    m_handle = 0;
}

// A transaction not committed is rolled back: a write leaves nothing behind.
void Transaction::end()
{
    ISC_STATUS_ARRAY status;
    if (m_handle)
        isc_rollback_transaction(status, &m_handle);
    m_handle = 0;
}

namespace {

struct KeptReads
{
    std::unique_ptr<Transaction> transaction;
    std::map<QString, std::unique_ptr<Cursor>> cursors;
};
std::map<isc_db_handle, KeptReads> &keptReads()
{
    static std::map<isc_db_handle, KeptReads> kept;
    return kept;
}

} // namespace

void endTransactions(isc_db_handle db)
{
    keptReads().erase(db); // its statements first, then its transaction
    std::lock_guard lock(openTransactionsMutex());
    for (Transaction *t : openTransactions())
        if (t->database() == db)
            t->end();
}

Transaction &keptReadTransaction(isc_db_handle db)
{
    KeptReads &kept = keptReads()[db];
    if (!kept.transaction || !*kept.transaction->handle()) {
        kept.cursors.clear();
        kept.transaction = std::make_unique<Transaction>(db, Transaction::Isolation::ReadCommitted);
    }
    return *kept.transaction;
}

Cursor &keptCursor(isc_db_handle db, const QString &sql)
{
    Transaction &transaction = keptReadTransaction(db);
    auto &cursors = keptReads()[db].cursors;
    auto found = cursors.find(sql);
    if (found == cursors.end())
        found = cursors.emplace(sql, std::make_unique<Cursor>(transaction, sql)).first;
    return *found->second;
}

Cursor::Cursor(Transaction &transaction, const QString &sql) : m_transaction(&transaction)
{
    ISC_STATUS_ARRAY status;
    isc_db_handle db = transaction.database();
    isc_dsql_allocate_statement(status, &db, &m_statement);
    check(status);
    XSQLDA *out = sqlda(m_outArea, 16);
    const QByteArray text = sql.toUtf8();
    isc_dsql_prepare(status, transaction.handle(), &m_statement, 0, text.constData(), kDialect, out);
    check(status);
    if (out->sqld > out->sqln) {
        out = sqlda(m_outArea, out->sqld);
        isc_dsql_describe(status, &m_statement, kDialect, out);
        check(status);
    }
    describeColumns();
    XSQLDA *in = sqlda(m_inArea, 16);
    isc_dsql_describe_bind(status, &m_statement, kDialect, in);
    check(status);
    if (in->sqld > in->sqln) {
        in = sqlda(m_inArea, in->sqld);
        isc_dsql_describe_bind(status, &m_statement, kDialect, in);
        check(status);
    }
}

Cursor::~Cursor()
{
    ISC_STATUS_ARRAY status;
    if (m_statement)
        isc_dsql_free_statement(status, &m_statement, DSQL_drop);
}

XSQLVAR &Cursor::var(int column) const
{
    return sqlda(m_outArea)->sqlvar[column];
}

// Lays the row buffer out and asks for texts in WIN1252 rather than the
// connection's UTF-8. A text the statement itself casts to OCTETS comes as its
// bytes with no conversion at all (see DatasetProvider::load).
void Cursor::describeColumns()
{
    XSQLDA *out = sqlda(m_outArea);
    m_columns.resize(size_t(out->sqld));
    m_rowNulls.assign(size_t(out->sqld), 0);
    size_t size = 0;
    for (int c = 0; c < out->sqld; ++c) {
        XSQLVAR &v = out->sqlvar[c];
        if (const char *unknown = engineTypeName(v.sqltype); unknown || heldOf(v.sqltype) == Held::Unknown)
            throw DbError(QStringLiteral("A coluna %1 é do tipo %2, que o programa não lê.")
                              .arg(columnName(c), unknown ? QString::fromLatin1(unknown) : QString::number(v.sqltype & ~1)));
        Column &column = m_columns[size_t(c)];
        column.type = typeOf(v);
        column.scale = v.sqlscale;
        if (heldOf(v.sqltype) == Held::AsText) {
            v.sqllen = kLongestTimeOrTruth;
            v.sqlsubtype = kWin1252;
        }
        if (column.type == FieldType::Text) {
            column.width = v.sqlsubtype == kUtf8 ? v.sqllen / kUtf8BytesPerChar : v.sqllen;
            v.sqltype = SQL_VARYING | 1;
            if (v.sqlsubtype != kOctets)
                v.sqlsubtype = kWin1252;
            size = aligned(size);
            column.offset = size;
            size += sizeof(short) + size_t(v.sqllen);
        } else {
            v.sqltype |= 1; // every column may be null
            size = aligned(size);
            column.offset = size;
            size += size_t(v.sqllen);
        }
    }
    m_row.assign(aligned(size) + 8, 0);
    for (int c = 0; c < out->sqld; ++c) {
        out->sqlvar[c].sqldata = m_row.data() + m_columns[size_t(c)].offset;
        out->sqlvar[c].sqlind = &m_rowNulls[size_t(c)];
    }
}

int Cursor::parameterCount() const
{
    return sqlda(m_inArea)->sqld;
}

// Every parameter goes as the type of its value: the engine converts it to
// what the statement needs, as it does for Qt's driver.
void Cursor::bindParameters(Transaction &transaction, const QVariantList &parameters)
{
    XSQLDA *in = sqlda(m_inArea);
    if (parameters.size() != in->sqld)
        throw DbError(QStringLiteral("A consulta pede %1 parâmetros e recebeu %2.").arg(in->sqld).arg(parameters.size()));
    m_inData.assign(size_t(in->sqld), QByteArray());
    m_inNulls.assign(size_t(in->sqld), 0);
    for (int i = 0; i < in->sqld; ++i) {
        XSQLVAR &v = in->sqlvar[i];
        const QVariant &value = parameters[i];
        QByteArray &data = m_inData[size_t(i)];
        v.sqlind = &m_inNulls[size_t(i)];
        v.sqlscale = 0;
        v.sqlsubtype = 0;
        if (value.isNull()) {
            m_inNulls[size_t(i)] = -1;
            v.sqltype = SQL_NULL | 1;
            v.sqllen = 0;
            v.sqldata = nullptr;
            continue;
        }
        switch (value.typeId()) {
        case QMetaType::QByteArray:
            data = bytesOf(writeBlob(transaction, value.toByteArray()));
            v.sqltype = SQL_BLOB | 1;
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            data = bytesOf(qint64(value.toLongLong()));
            v.sqltype = SQL_INT64 | 1;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            data = bytesOf(value.toDouble());
            v.sqltype = SQL_DOUBLE | 1;
            break;
        case QMetaType::QDate:
            data = bytesOf(ISC_DATE(value.toDate().toJulianDay() - kJulianDayOfZero));
            v.sqltype = SQL_TYPE_DATE | 1;
            break;
        case QMetaType::QDateTime: {
            const QDateTime at = value.toDateTime();
            data = bytesOf(ISC_TIMESTAMP{ISC_DATE(at.date().toJulianDay() - kJulianDayOfZero), iscTime(at.time())});
            v.sqltype = SQL_TIMESTAMP | 1;
            break;
        }
        case QMetaType::QTime:
            data = bytesOf(iscTime(value.toTime()));
            v.sqltype = SQL_TYPE_TIME | 1;
            break;
        default: {
            const QByteArray utf8 = parameterText(value.toString());
            data = bytesOf(short(utf8.size())) + utf8;
            v.sqltype = SQL_VARYING | 1;
            v.sqlsubtype = kUtf8;
            break;
        }
        }
        v.sqllen = short(data.size() - ((v.sqltype & ~1) == SQL_VARYING ? qsizetype(sizeof(short)) : 0));
        v.sqldata = data.data();
    }
}

void Cursor::execute(const QVariantList &parameters)
{
    execute(*m_transaction, parameters);
}

void Cursor::execute(Transaction &transaction, const QVariantList &parameters)
{
    ISC_STATUS_ARRAY status;
    if (m_open) { // a cursor left open by a read that stopped part-way
        isc_dsql_free_statement(status, &m_statement, DSQL_close);
        m_open = false;
    }
    bindParameters(transaction, parameters);
    m_transaction = &transaction;
    isc_dsql_execute(status, m_transaction->handle(), &m_statement, kDialect, sqlda(m_inArea));
    check(status);
    m_open = true;
}

bool Cursor::run(Transaction &transaction, const QVariantList &parameters)
{
    bindParameters(transaction, parameters);
    m_transaction = &transaction;
    ISC_STATUS_ARRAY status;
    XSQLDA *out = columnCount() > 0 ? sqlda(m_outArea) : nullptr;
    isc_dsql_execute2(status, m_transaction->handle(), &m_statement, kDialect, sqlda(m_inArea), out);
    check(status);
    return !out || !isNull(0);
}

bool Cursor::fetch()
{
    if (!m_open)
        return false;
    ISC_STATUS_ARRAY status;
    const ISC_STATUS result = isc_dsql_fetch(status, &m_statement, kDialect, sqlda(m_outArea));
    if (result == 100) {
        m_open = false;
        isc_dsql_free_statement(status, &m_statement, DSQL_close);
        return false;
    }
    check(status);
    return true;
}

QString Cursor::columnName(int column) const
{
    const XSQLVAR &v = var(column);
    if (v.aliasname_length > 0)
        return QString::fromUtf8(v.aliasname, v.aliasname_length).toUpper();
    return QString::fromUtf8(v.sqlname, v.sqlname_length).toUpper();
}

bool Cursor::isNull(int column) const
{
    return m_rowNulls[size_t(column)] < 0;
}

// An exact number as stored, before its scale: 1234 for 12.34 in NUMERIC(9,2).
qint64 Cursor::unscaled(int column) const
{
    const XSQLVAR &v = var(column);
    switch (v.sqltype & ~1) {
    case SQL_SHORT:
        return valueAt<ISC_SHORT>(v.sqldata);
    case SQL_LONG:
        return valueAt<ISC_LONG>(v.sqldata);
    case SQL_INT64:
        return valueAt<ISC_INT64>(v.sqldata);
    default:
        throw notReadableAs(column, FieldType::Integer);
    }
}

double Cursor::floating(int column) const
{
    const XSQLVAR &v = var(column);
    switch (v.sqltype & ~1) {
    case SQL_FLOAT:
        return valueAt<float>(v.sqldata);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return valueAt<double>(v.sqldata);
    default:
        throw notReadableAs(column, FieldType::Money);
    }
}

qint64 Cursor::integer(int column) const
{
    const XSQLVAR &v = var(column);
    if (heldOf(v.sqltype) == Held::Float)
        return qint64(floating(column));
    qint64 value = unscaled(column);
    for (short s = v.sqlscale; s < 0; ++s)
        value /= 10;
    return value;
}

double Cursor::amount(int column) const
{
    const XSQLVAR &v = var(column);
    if (heldOf(v.sqltype) == Held::Float)
        return floating(column);
    // One division by a power of ten that a double holds exactly, so the
    // result is the double nearest the stored number, as the engine gives it.
    double power = 1.0;
    for (short s = v.sqlscale; s < 0; ++s)
        power *= 10.0;
    return double(unscaled(column)) / power;
}

qint64 Cursor::julianDay(int column) const
{
    const Held held = heldOf(var(column).sqltype);
    if (held != Held::Date && held != Held::Timestamp)
        throw notReadableAs(column, FieldType::Date);
    return qint64(valueAt<ISC_DATE>(var(column).sqldata)) + kJulianDayOfZero; // a timestamp starts with its date
}

DbError Cursor::notReadableAs(int column, FieldType type) const
{
    return DbError(QStringLiteral("A coluna %1 do banco de dados não pode ser lida como %2.")
                       .arg(columnName(column), QString::fromLatin1(programTypeName(type))));
}

std::string_view Cursor::win1252Bytes(int column) const
{
    const XSQLVAR &v = var(column);
    if ((v.sqltype & ~1) != SQL_VARYING)
        throw notReadableAs(column, FieldType::Text);
    return {v.sqldata + sizeof(short), size_t(std::max<short>(valueAt<short>(v.sqldata), 0))};
}

ISC_QUAD Cursor::blobId(int column) const
{
    if (heldOf(var(column).sqltype) != Held::Blob)
        throw notReadableAs(column, FieldType::Blob);
    return valueAt<ISC_QUAD>(var(column).sqldata);
}

void storeCell(RowStore &store, int row, int c, FieldType type, const Cursor &cursor)
{
    if (cursor.isNull(c))
        return;
    const FieldType held = cursor.columnType(c);
    switch (type) {
    case FieldType::Integer:
        store.setInteger(row, c, cursor.integer(c));
        return;
    case FieldType::Money:
        store.setAmount(row, c, cursor.amount(c));
        return;
    case FieldType::Date:
        store.setJulianDay(row, c, cursor.julianDay(c));
        return;
    case FieldType::Text:
        if (held == FieldType::Integer)
            store.setValue(row, c, QString::number(cursor.integer(c)));
        else if (held == FieldType::Money)
            store.setValue(row, c, QString::number(cursor.amount(c)));
        else
            store.setTextBytes(row, c, cursor.win1252Bytes(c));
        return;
    case FieldType::Blob:
        store.setStoredBlob(row, c, blobReference(cursor.blobId(c)));
        return;
    }
}

ISC_QUAD writeBlob(Transaction &transaction, const QByteArray &bytes)
{
    ISC_STATUS_ARRAY status;
    isc_db_handle db = transaction.database();
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    isc_create_blob2(status, &db, transaction.handle(), &blob, &id, 0, nullptr);
    check(status);
    for (qsizetype at = 0; at < bytes.size(); at += kLargestSegment) {
        const auto length = static_cast<unsigned short>(std::min<qsizetype>(kLargestSegment, bytes.size() - at));
        if (isc_put_segment(status, &blob, length, bytes.constData() + at) != 0) {
            ISC_STATUS_ARRAY ignored;
            isc_cancel_blob(ignored, &blob);
            check(status);
        }
    }
    isc_close_blob(status, &blob);
    check(status);
    return id;
}

quint64 blobReference(ISC_QUAD id)
{
    quint64 reference;
    static_assert(sizeof reference == sizeof id);
    std::memcpy(&reference, &id, sizeof id);
    return reference;
}

QByteArray readBlob(Transaction &transaction, quint64 reference)
{
    ISC_QUAD id;
    std::memcpy(&id, &reference, sizeof id);
    return readBlob(transaction, id);
}

QByteArray readBlob(Transaction &transaction, ISC_QUAD id)
{
    ISC_STATUS_ARRAY status;
    isc_db_handle db = transaction.database();
    isc_blob_handle blob = 0;
    isc_open_blob2(status, &db, transaction.handle(), &blob, &id, 0, nullptr);
    check(status);
    QByteArray bytes;
    char info[] = {isc_info_blob_total_length};
    char answer[32];
    if (isc_blob_info(status, &blob, sizeof info, info, sizeof answer, answer) == 0 &&
        answer[0] == isc_info_blob_total_length) {
        const short length = short(isc_vax_integer(answer + 1, 2));
        bytes.reserve(qsizetype(isc_vax_integer(answer + 3, length)));
    }
    for (;;) {
        const qsizetype at = bytes.size();
        bytes.resize(at + kLargestSegment);
        unsigned short got = 0;
        const ISC_STATUS result = isc_get_segment(status, &blob, &got, kLargestSegment, bytes.data() + at);
        bytes.resize(at + got);
        if (result == isc_segstr_eof)
            break;
        if (result != 0 && result != isc_segment) {
            ISC_STATUS_ARRAY ignored;
            isc_close_blob(ignored, &blob);
            check(status);
        }
    }
    isc_close_blob(status, &blob);
    return bytes;
}

QString positionalSql(const QString &sql, QStringList &order)
{
    QString result;
    result.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') { // a quoted text or name, doubled quotes included
            const qsizetype end = sql.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? sql.size() : end + 1;
            result += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? sql.size() : end;
            result += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype stop = end < 0 ? sql.size() : end + 2;
            result += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u':' && i + 1 < sql.size() && (sql[i + 1].isLetter() || sql[i + 1] == u'_')) {
            qsizetype end = i + 1;
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_'))
                ++end;
            order << sql.mid(i, end - i).toUpper();
            result += u'?';
            i = end - 1;
        } else if (c == u'?') {
            order << QString();
            result += c;
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace Firebird
