#include "DatasetModel.h"

#include "dataset/Field.h"
#include "dataset/TableDataset.h"

DatasetModel::DatasetModel(TableDataset *dataset, QObject *parent) : QAbstractTableModel(parent), m_dataset(dataset)
{
    connect(dataset, &Dataset::rowsReset, this, [this] {
        beginResetModel();
        m_marked = -1;
        endResetModel();
    });
    connect(dataset, &TableDataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && !m_fields.empty())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

void DatasetModel::addColumn(const QString &column, const QString &title)
{
    addColumn(column, title, {});
}

void DatasetModel::addColumn(const QString &column, const QString &title, Shown shown)
{
    Field *f = m_dataset->fieldByName(column);
    const int at = columnCount();
    beginInsertColumns({}, at, at);
    m_fields.push_back(f);
    m_shown.push_back(std::move(shown));
    m_titles << (title.isEmpty() ? f->fieldName() : title);
    endInsertColumns();
}

void DatasetModel::setMarkedRow(int row)
{
    if (row == m_marked)
        return;
    const int old = m_marked;
    m_marked = row;
    if (old >= 0 && old < rowCount())
        emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rowCount())
        emit headerDataChanged(Qt::Vertical, row, row);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataset ? 0 : m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    // A view may ask between a change of the rows and the reset that follows it.
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Field *f = m_fields[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant value = m_dataset->valueAt(index.row(), f->index());
        const Shown &shown = m_shown[size_t(index.column())];
        return shown ? shown(value) : f->displayTextOf(value);
    }
    case Qt::TextAlignmentRole:
        if (m_shown[size_t(index.column())])
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        if (f->type() == FieldType::Integer || f->type() == FieldType::Money)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_titles.size() ? m_titles[section] : QVariant();
    return section == m_marked ? QStringLiteral("▶") : QString();
}
