#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <atomic>
#include <functional>

// Photographs stored larger than the program stores them today (brought
// from an older program, which kept each file as it was), found and stored
// again as "Buscar" stores a chosen file (Pictures::forStorage). Photographs
// are read, decoded and written one at a time, so memory stays small
// whatever the database holds; writes are plain UPDATEs of the picture
// column, a batch of photographs per transaction.
namespace PhotoReduction {

inline const QString kBackupTag = QStringLiteral("antes-da-reducao");

// One stored photograph: its table's picture column and the row's code.
struct StoredPhoto
{
    QString table, codeColumn, photoColumn;
    int code = 0;
    qint64 bytes = 0;
};

struct Survey
{
    QList<StoredPhoto> photos; // the oversized ones
    qint64 bytes = 0;          // what they take

    bool isEmpty() const { return photos.isEmpty(); }
};

// The photographs of members and employees that Pictures::oversized finds
// too large. Reads the start of each picture only (its size in pixels), the
// whole of one only when its start does not tell. DbError on a failed read.
Survey survey(const QSqlDatabase &db);

struct Outcome
{
    int reduced = 0;      // stored again, smaller
    int left = 0;         // not reached: a cancel, or changed meanwhile by another workstation
    qint64 bytesBefore = 0, bytesAfter = 0; // of the ones reduced
    bool cancelled = false;
};

using Progress = std::function<void(int done, int total)>;

inline constexpr int kBatch = 20; // photographs per transaction

// Stores each photograph of `photos` again as forStorage makes it, `batch`
// per transaction. Once `cancel` is set, stops before the next batch; what
// was stored stays. A photograph whose size changed since the survey (another
// workstation chose a new one) is left as it is. DbError when a batch cannot
// be written: that batch is rolled back, the ones before it stay.
Outcome reduce(const QSqlDatabase &db, const QList<StoredPhoto> &photos, const std::atomic_bool &cancel,
               const Progress &progress, int batch = kBatch);

} // namespace PhotoReduction
