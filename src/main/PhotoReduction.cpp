#include "PhotoReduction.h"

#include "provider/EngineErrors.h"
#include "uikit/Pictures.h"

#include <QSqlQuery>

#include <map>

namespace PhotoReduction {

namespace {

struct PhotoColumn
{
    QString table, code, photo;
};

const QList<PhotoColumn> &photoColumns()
{
    static const QList<PhotoColumn> columns{{QStringLiteral("TMEMBRO"), QStringLiteral("MEMCODIGO"), QStringLiteral("MEMFOTO")},
                                            {QStringLiteral("TFUNCIONARIO"), QStringLiteral("FUNCODIGO"), QStringLiteral("FUNFOTO")}};
    return columns;
}

// The start of a picture read first: it holds the size of most pictures; a
// JPEG with an EXIF block (up to 64 KB) is read on as far as its frame header.
constexpr int kHeadBytes = 4096;

QSqlQuery prepared(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw dbErrorFrom(q.lastError());
    return q;
}

void execute(QSqlQuery &q)
{
    if (!q.exec())
        throw dbErrorFrom(q.lastError());
}

QByteArray firstValue(QSqlQuery &q)
{
    execute(q);
    QByteArray bytes = q.next() ? q.value(0).toByteArray() : QByteArray();
    q.finish();
    return bytes;
}

// The reads of one table's pictures, prepared once.
struct PhotoReads
{
    PhotoReads(const QSqlDatabase &db, const PhotoColumn &c)
        : whole(prepared(db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(c.photo, c.table, c.code))),
          start(prepared(db, QStringLiteral("SELECT SUBSTRING(%1 FROM 1 FOR CAST(? AS INTEGER)) FROM %2 WHERE %3 = ?")
                                 .arg(c.photo, c.table, c.code)))
    {
    }

    QByteArray read(int code)
    {
        whole.bindValue(0, code);
        return firstValue(whole);
    }

    QByteArray readStart(int code, qint64 bytes)
    {
        start.bindValue(0, bytes);
        start.bindValue(1, code);
        return firstValue(start);
    }

    // The picture's size, reading no more of it than tells; null for what is no picture.
    QSize sizeOf(int code, qint64 bytes, QByteArray head)
    {
        qint64 needed = 0;
        QSize size = Pictures::sizeFromStart(head, needed);
        while (!size.isValid() && needed > head.size() && head.size() < bytes)
            size = Pictures::sizeFromStart(head = readStart(code, qMin(needed, bytes)), needed);
        if (!size.isValid() && needed == 0 && bytes > head.size())
            size = Pictures::sizeOf(read(code));
        return size;
    }

    QSqlQuery whole, start;
};

// The statements that store one table's pictures anew, prepared once.
struct PhotoStatements
{
    PhotoStatements(const QSqlDatabase &db, const QString &table, const QString &code, const QString &photo)
        : select(prepared(db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(photo, table, code))),
          update(prepared(db, QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ? AND OCTET_LENGTH(%2) = ?")
                                  .arg(table, photo, code)))
    {
    }

    QByteArray read(int code)
    {
        select.bindValue(0, code);
        return firstValue(select);
    }

    // False when the row is gone or its picture is no longer `was`.
    bool write(int code, const QByteArray &was, const QByteArray &bytes)
    {
        update.bindValue(0, bytes);
        update.bindValue(1, code);
        update.bindValue(2, qint64(was.size()));
        execute(update);
        return update.numRowsAffected() == 1;
    }

    QSqlQuery select, update;
};

// One batch in one transaction; its statements are prepared within it, so
// that their writes are the transaction's.
Outcome reduceBatch(QSqlDatabase &connection, const QList<StoredPhoto> &batch, const std::function<void()> &stepped)
{
    Outcome done;
    if (!connection.transaction())
        throw dbErrorFrom(connection.lastError());
    try {
        {
            std::map<QString, PhotoStatements> statements; // by table
            for (const StoredPhoto &photo : batch) {
                auto it = statements.find(photo.table);
                if (it == statements.end())
                    it = statements.try_emplace(photo.table, connection, photo.table, photo.codeColumn, photo.photoColumn)
                             .first;
                const QByteArray stored = it->second.read(photo.code);
                const QByteArray smaller = stored.size() == photo.bytes ? Pictures::forStorage(stored) : stored;
                if (smaller != stored && it->second.write(photo.code, stored, smaller)) {
                    ++done.reduced;
                    done.bytesBefore += stored.size();
                    done.bytesAfter += smaller.size();
                } else {
                    ++done.left;
                }
                stepped();
            }
        }
        if (!connection.commit())
            throw dbErrorFrom(connection.lastError());
    } catch (...) {
        connection.rollback();
        throw;
    }
    return done;
}

} // namespace

Survey survey(const QSqlDatabase &db)
{
    Survey found;
    for (const PhotoColumn &c : photoColumns()) {
        PhotoReads reads(db, c);
        QSqlQuery heads = prepared(db, QStringLiteral("SELECT %1, OCTET_LENGTH(%2), SUBSTRING(%2 FROM 1 FOR %3) FROM %4 "
                                                      "WHERE %2 IS NOT NULL ORDER BY %1")
                                           .arg(c.code, c.photo)
                                           .arg(kHeadBytes)
                                           .arg(c.table));
        execute(heads);
        while (heads.next()) {
            const int code = heads.value(0).toInt();
            const qint64 bytes = heads.value(1).toLongLong();
            const QSize size = reads.sizeOf(code, bytes, heads.value(2).toByteArray());
            if (size.isValid() && Pictures::oversized(size, bytes)) {
                found.photos.append({c.table, c.code, c.photo, code, bytes});
                found.bytes += bytes;
            }
        }
    }
    return found;
}

Outcome reduce(const QSqlDatabase &db, const QList<StoredPhoto> &photos, const std::atomic_bool &cancel,
               const Progress &progress, int batch)
{
    QSqlDatabase connection = db;
    Outcome outcome;
    const int total = int(photos.size());
    int reached = 0;
    for (int from = 0; from < total; from += batch) {
        if (cancel) {
            outcome.cancelled = true;
            outcome.left += total - from;
            break;
        }
        const Outcome done = reduceBatch(connection, photos.mid(from, batch), [&] {
            if (progress)
                progress(++reached, total);
        });
        outcome.reduced += done.reduced;
        outcome.left += done.left;
        outcome.bytesBefore += done.bytesBefore;
        outcome.bytesAfter += done.bytesAfter;
    }
    return outcome;
}

} // namespace PhotoReduction
