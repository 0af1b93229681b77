#include "RowStore.h"

#include "Win1252.h"

RowStore::RowStore(const FieldDefs &defs)
{
    m_columns.reserve(defs.size());
    for (const FieldDef &def : defs) {
        Column c;
        c.type = def.type;
        m_columns.push_back(std::move(c));
    }
}

void RowStore::clear()
{
    for (Column &c : m_columns) {
        Column empty;
        empty.type = c.type;
        c = std::move(empty);
    }
    m_rowCount = 0;
}

void RowStore::reserve(int rows)
{
    for (Column &c : m_columns) {
        switch (c.type) {
        case FieldType::Integer:
        case FieldType::Date:
            c.numbers.reserve(rows);
            c.nulls.reserve(rows);
            break;
        case FieldType::Money:
            c.amounts.reserve(rows);
            c.nulls.reserve(rows);
            break;
        case FieldType::Text:
            c.textOffset.reserve(rows);
            c.textLength.reserve(rows);
            break;
        case FieldType::Blob:
            c.blobs.reserve(rows);
            c.stored.reserve(rows);
            c.numbers.reserve(rows);
            c.nulls.reserve(rows);
            break;
        }
    }
}

int RowStore::appendRow()
{
    for (Column &c : m_columns) {
        switch (c.type) {
        case FieldType::Integer:
        case FieldType::Date:
            c.numbers.push_back(0);
            c.nulls.push_back(true);
            break;
        case FieldType::Money:
            c.amounts.push_back(0.0);
            c.nulls.push_back(true);
            break;
        case FieldType::Text:
            c.textOffset.push_back(0);
            c.textLength.push_back(0);
            break;
        case FieldType::Blob:
            c.blobs.emplace_back();
            c.stored.push_back(false);
            c.numbers.push_back(0);
            c.nulls.push_back(true);
            break;
        }
    }
    return m_rowCount++;
}

bool RowStore::isNull(int row, int column) const
{
    const Column &c = m_columns[column];
    switch (c.type) {
    case FieldType::Text:
        return c.textLength[row] == 0;
    default:
        return c.nulls[row];
    }
}

QVariant RowStore::value(int row, int column) const
{
    if (isNull(row, column))
        return {};
    const Column &c = m_columns[column];
    switch (c.type) {
    case FieldType::Integer: {
        const qint64 n = c.numbers[row]; // a BIGINT of the database may not fit an int
        return n == qint32(n) ? QVariant(int(n)) : QVariant(qlonglong(n));
    }
    case FieldType::Date:
        return QDate::fromJulianDay(c.numbers[row]);
    case FieldType::Money:
        return c.amounts[row];
    case FieldType::Text:
        return Win1252::decode(c.arena.data() + c.textOffset[row], c.textLength[row]);
    case FieldType::Blob:
        return c.stored[row] ? QVariant::fromValue(StoredBlob()) : QVariant(c.blobs[row]);
    }
    return {};
}

void RowStore::setValue(int row, int column, const QVariant &value)
{
    Column &c = m_columns[column];
    const bool null = value.isNull();
    switch (c.type) {
    case FieldType::Integer:
        c.numbers[row] = null ? 0 : value.toInt();
        c.nulls[row] = null;
        break;
    case FieldType::Date:
        c.numbers[row] = null ? 0 : value.toDate().toJulianDay();
        c.nulls[row] = null;
        break;
    case FieldType::Money:
        c.amounts[row] = null ? 0.0 : value.toDouble();
        c.nulls[row] = null;
        break;
    case FieldType::Text: {
        // A changed text is appended; the old bytes stay unused until the
        // table is read again. Texts are at most 250 characters wide.
        const QString text = null ? QString() : value.toString();
        const size_t start = c.arena.size();
        c.arena.resize(start + size_t(text.size()));
        const bool stored = Win1252::encodeInto(text, c.arena.data() + start);
        if (!stored)
            c.arena.resize(start);
        c.textOffset[row] = quint32(start);
        c.textLength[row] = stored ? quint16(text.size()) : 0;
        break;
    }
    case FieldType::Blob:
        if (isStoredBlob(value)) { // left as it is in the database
            c.stored[row] = true;
            c.nulls[row] = false;
            c.blobs[row] = QByteArray();
            break;
        }
        c.blobs[row] = null ? QByteArray() : value.toByteArray();
        c.stored[row] = false;
        c.nulls[row] = c.blobs[row].isEmpty();
        break;
    }
}

void RowStore::setInteger(int row, int column, qint64 value)
{
    Column &c = m_columns[column];
    c.numbers[row] = value;
    c.nulls[row] = false;
}

void RowStore::setAmount(int row, int column, double value)
{
    Column &c = m_columns[column];
    c.amounts[row] = value;
    c.nulls[row] = false;
}

void RowStore::setJulianDay(int row, int column, qint64 day)
{
    setInteger(row, column, day);
}

void RowStore::setTextBytes(int row, int column, std::string_view win1252)
{
    Column &c = m_columns[column];
    const size_t length = std::min<size_t>(win1252.size(), 0xFFFF);
    c.textOffset[row] = quint32(c.arena.size());
    c.textLength[row] = quint16(length);
    c.arena.append(win1252.data(), length);
}

void RowStore::setStoredBlob(int row, int column, quint64 reference)
{
    Column &c = m_columns[column];
    c.stored[row] = true;
    c.nulls[row] = false;
    c.numbers[row] = qint64(reference);
    c.blobs[row] = QByteArray();
}

qint32 RowStore::integer(int row, int column) const
{
    const Column &c = m_columns[column];
    return c.nulls[row] ? 0 : qint32(c.numbers[row]);
}

std::string_view RowStore::textBytes(int row, int column) const
{
    const Column &c = m_columns[column];
    return {c.arena.data() + c.textOffset[row], c.textLength[row]};
}
