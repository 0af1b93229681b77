#include "LineDataset.h"

#include "DbError.h"

LineDataset::LineDataset(const QString &name, const FieldDefs &columns, QObject *parent)
    : Dataset(parent), m_columns(int(columns.size()))
{
    setObjectName(name);
    defineFields(columns);
}

void LineDataset::clear()
{
    m_lines.clear();
    setState(State::Inactive);
}

void LineDataset::append(const QVector<QVariant> &line)
{
    QVector<QVariant> values = line;
    values.resize(m_columns);
    m_lines.append(values);
}

void LineDataset::open()
{
    setState(State::Browse);
    resetNavigation();
    emit rowsReset();
}

QVariant LineDataset::fieldValue(int column) const
{
    const int row = currentIndex();
    if (row < 0 || row >= m_lines.size() || column < 0 || column >= m_columns)
        return {};
    return m_lines[row][column];
}

void LineDataset::setFieldValue(int, const QVariant &)
{
    throw DbError(QStringLiteral("%1: as linhas do relatório não podem ser alteradas.").arg(objectName()));
}
