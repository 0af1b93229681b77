#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QVariant>

#include <string_view>
#include <vector>

// Compact, column-wise storage of a table's rows: integers, amounts and dates
// in plain arrays with a null mark, texts as code-page bytes in one growing
// buffer per column, pictures as shared byte arrays. A table of 100,000
// members fits in a few tens of megabytes instead of a QVariant per cell.
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

private:
    struct Column
    {
        FieldType type;
        std::vector<qint64> numbers;     // Integer, Date (Julian day)
        std::vector<double> amounts;     // Money
        std::vector<bool> nulls;         // Integer, Money, Date
        std::vector<quint32> textOffset; // Text: start in `arena`
        std::vector<quint16> textLength; // Text: byte count, 0 = empty
        std::string arena;               // Text bytes, code page 1252
        std::vector<QByteArray> blobs;   // Blob
    };

    std::vector<Column> m_columns;
    int m_rowCount = 0;
};
