#pragma once

#include "dataset/TableDataset.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>
#include <vector>

// The visible rows of a table dataset as an item model for grids and lists,
// one model column per dataset column added, texts as the field displays
// them (dates, money). It reads the rows where they are, so a hundred
// thousand rows cost nothing until they are shown; it resets when the rows
// change and updates a row when a change of it is posted.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DatasetModel(TableDataset *dataset, QObject *parent = nullptr);

    TableDataset *dataset() const { return m_dataset; }
    // DbError when the dataset has no such column.
    void addColumn(const QString &column, const QString &title = {});
    // A column whose text `shown` derives from the column's value (a code
    // shown as what the code stands for).
    using Shown = std::function<QString(const QVariant &value)>;
    void addColumn(const QString &column, const QString &title, Shown shown);
    Field *fieldAt(int modelColumn) const { return m_fields[size_t(modelColumn)]; }

    // The row marked "▶" in the vertical header; -1 for none.
    void setMarkedRow(int row);
    int markedRow() const { return m_marked; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QPointer<TableDataset> m_dataset;
    std::vector<Field *> m_fields;
    std::vector<Shown> m_shown; // per column; empty: the field's own text
    QStringList m_titles;
    int m_marked = -1;
};
