#pragma once

#include "dataset/DataSource.h"

#include <QPointer>
#include <QTableView>

#include <functional>

class DatasetModel;
class TableDataset;

// A read-only grid over the visible rows of a data source's dataset: whole-row
// single selection, grid lines, resizable columns, "▶" in the row indicator
// at the current row. The current row is kept in step both ways: choosing a
// row in the grid makes it the dataset's current row, and the dataset moving
// (navigator, locate, filter) selects the row and scrolls to it. Rows have
// one fixed height, so a hundred thousand of them cost nothing.
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(DataSource *source, QWidget *parent = nullptr);

    // DbError when the dataset has no such column. Width 0: the default.
    void addColumn(const QString &column, const QString &title, int width = 0);
    // A column showing a text derived from the column's value.
    void addColumn(const QString &column, const QString &title, int width, std::function<QString(const QVariant &)> shown);

    DataSource *dataSource() const { return m_source; }
    TableDataset *dataset() const;
    DatasetModel *datasetModel() const { return m_model; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void followDataset();
    void rowChosen(const QModelIndex &current);

    QPointer<DataSource> m_source;
    DatasetModel *m_model;
    bool m_following = false;
};
