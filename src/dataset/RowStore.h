#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QVariant>

#include <string_view>
#include <vector>

// The value of a picture that is in the database and not in memory: tables
// and queries read no picture bytes; whoever needs a picture asks its
// dataset, which fetches it then.
struct StoredBlob
{
    bool operator==(const StoredBlob &) const { return true; }
};
Q_DECLARE_METATYPE(StoredBlob)

inline bool isStoredBlob(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<StoredBlob>();
}

// Compact, column-wise storage of a table's rows: integers, amounts and dates
// in plain arrays with a null mark, texts as code-page bytes in one growing
// buffer per column. A picture is either empty, stored in the database (read
// as StoredBlob, with a reference the dataset may use to fetch it), or held
// in memory as shared bytes (a new or changed picture not yet written). A
// table of 100,000 members fits in a few tens of megabytes instead of a
// QVariant per cell, however large its photographs are.
// Rows are addressed by their physical number and never move.
class RowStore
{
public:
    explicit RowStore(const FieldDefs &defs = {});

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return int(m_columns.size()); }
    void clear();
    void reserve(int rows);
    int appendRow(); // every column empty

    QVariant value(int row, int column) const;
    // `value` must already have the column's type (see Field::normalized).
    void setValue(int row, int column, const QVariant &value);
    bool isNull(int row, int column) const;

    // Fast reads for scans and filters.
    qint32 integer(int row, int column) const; // empty reads 0
    std::string_view textBytes(int row, int column) const; // empty when null

    // Fast writes for reading a table: values already in the column's form.
    void setInteger(int row, int column, qint64 value);
    void setAmount(int row, int column, double value);
    void setJulianDay(int row, int column, qint64 day);
    void setTextBytes(int row, int column, std::string_view win1252);
    void setStoredBlob(int row, int column, quint64 reference = 0);
    quint64 blobReference(int row, int column) const { return m_columns[column].numbers[row]; }

private:
    struct Column
    {
        FieldType type;
        std::vector<qint64> numbers;     // Integer, Date (Julian day), Blob (its reference)
        std::vector<double> amounts;     // Money
        std::vector<bool> nulls;         // Integer, Money, Date, Blob (empty)
        std::vector<quint32> textOffset; // Text: start in `arena`
        std::vector<quint16> textLength; // Text: byte count, 0 = empty
        std::string arena;               // Text bytes, code page 1252
        std::vector<QByteArray> blobs;   // Blob: the bytes held in memory
        std::vector<bool> stored;        // Blob: in the database, not in memory
    };

    std::vector<Column> m_columns;
    int m_rowCount = 0;
};
