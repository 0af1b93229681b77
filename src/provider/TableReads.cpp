#include "TableReads.h"

#include "dataset/RowStore.h"

#include <algorithm>

ReadStatements ReadStatements::kept(isc_db_handle db)
{
    return ReadStatements(db);
}

ReadStatements ReadStatements::own(isc_db_handle db)
{
    ReadStatements s(db);
    s.m_own = std::make_unique<Firebird::Transaction>(db, Firebird::Transaction::Isolation::ReadCommitted);
    return s;
}

Firebird::Transaction &ReadStatements::transaction()
{
    return m_own ? *m_own : Firebird::keptReadTransaction(m_db);
}

Firebird::Cursor &ReadStatements::cursor(const QString &sql)
{
    if (!m_own)
        return Firebird::keptCursor(m_db, sql);
    auto found = m_cursors.find(sql);
    if (found == m_cursors.end())
        found = m_cursors.emplace(sql, std::make_unique<Firebird::Cursor>(*m_own, sql)).first;
    return *found->second;
}

void ReadStatements::finish()
{
    m_cursors.clear();
    if (m_own)
        m_own->commit();
}

void readRows(Firebird::Cursor &cursor, const FieldDefs &defs, RowStore &store)
{
    cursor.execute();
    const int columns = int(defs.size());
    while (cursor.fetch()) {
        const int row = store.appendRow();
        for (int c = 0; c < columns; ++c)
            Firebird::storeCell(store, row, c, defs[c].type, cursor);
    }
}

namespace {

// Through its blob: the cheapest read on this computer.
QByteArray throughBlob(ReadStatements &statements, const PictureColumn &where, const QVariant &code)
{
    Firebird::Cursor &blob =
        statements.cursor(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(where.column, where.table, where.key));
    blob.execute({code});
    if (!blob.fetch() || blob.isNull(0))
        return {};
    const ISC_QUAD id = blob.blobId(0);
    while (blob.fetch()) {
    }
    return Firebird::readBlob(statements.transaction(), id);
}

// On a server, in pieces of a text's size read as the rows of one
// statement: the client fetches many rows per round trip, where the blob
// calls take a round trip to open the blob and one per 64 KB. `whole` is
// false when the picture is larger than the pieces one statement may give
// (the engine's recursion stops at 1,024).
QByteArray inPieces(ReadStatements &statements, const PictureColumn &where, const QVariant &code, bool &whole)
{
    constexpr int kPiece = 32000, kPieces = 1000;
    Firebird::Cursor &pieces = statements.cursor(
        QStringLiteral("WITH RECURSIVE PARTE (L, N) AS (SELECT OCTET_LENGTH(%1), 0 FROM %2 WHERE %3 = ? "
                       "UNION ALL SELECT L, N + 1 FROM PARTE WHERE N < %5 AND (N + 1) * %4 < L) "
                       "SELECT CAST(SUBSTRING(T.%1 FROM P.N * %4 + 1 FOR %4) AS VARCHAR(%4) CHARACTER SET OCTETS), "
                       "P.L FROM PARTE P JOIN %2 T ON T.%3 = ? WHERE P.L > 0 ORDER BY P.N")
            .arg(where.column, where.table, where.key)
            .arg(kPiece)
            .arg(kPieces - 1));
    pieces.execute({code, code});
    QByteArray picture;
    qint64 size = 0;
    while (pieces.fetch()) {
        const std::string_view piece = pieces.win1252Bytes(0);
        size = pieces.integer(1);
        if (picture.isEmpty())
            picture.reserve(qsizetype(std::min<qint64>(size, qint64(kPiece) * kPieces)));
        picture.append(piece.data(), qsizetype(piece.size()));
    }
    whole = picture.size() == size;
    return picture;
}

} // namespace

QByteArray readPicture(ReadStatements &statements, const PictureColumn &where, const QVariant &code)
{
    if (where.onServer) {
        bool whole = false;
        QByteArray picture = inPieces(statements, where, code, whole);
        if (whole)
            return picture;
    }
    return throughBlob(statements, where, code);
}
