#include "DBGrid.h"

#include "DatasetModel.h"
#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "dataset/DataSource.h"
#include "dataset/TableDataset.h"

#include <QHeaderView>

DBGrid::DBGrid(DataSource *source, QWidget *parent)
    : QTableView(parent), m_source(source), m_model(new DatasetModel(source->dataset(), this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false);

    const int rowHeight = fontMetrics().height() + 6;
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("▶")) + 12);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);

    // Connected after the model's own reset, so the rows are new by then.
    TableDataset *ds = source->dataset();
    connect(ds, &Dataset::rowsReset, this, &DBGrid::followDataset);
    connect(ds, &Dataset::currentChanged, this, &DBGrid::followDataset);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DBGrid::rowChosen);
    followDataset();
}

TableDataset *DBGrid::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void DBGrid::addColumn(const QString &column, const QString &title, int width)
{
    addColumn(column, title, width, {});
}

void DBGrid::addColumn(const QString &column, const QString &title, int width,
                       std::function<QString(const QVariant &)> shown)
{
    m_model->addColumn(column, title, std::move(shown));
    if (width > 0)
        setColumnWidth(m_model->columnCount() - 1, Appearance::scaled(width));
    followDataset();
}

void DBGrid::followDataset()
{
    const TableDataset *ds = dataset();
    const int row = ds && ds->active() ? ds->currentIndex() : -1;
    m_model->setMarkedRow(row);
    m_following = true;
    if (row < 0 || m_model->columnCount() == 0) {
        selectionModel()->clear();
    } else {
        const int column = qMax(0, currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_following = false;
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    // After a refused move the press has still selected the row clicked.
    followDataset();
}

void DBGrid::rowChosen(const QModelIndex &current)
{
    TableDataset *ds = dataset();
    if (m_following || !ds || !current.isValid() || current.row() == ds->currentIndex())
        return;
    if (!runGuarded([&] { ds->moveTo(current.row()); }))
        followDataset(); // the row being edited was refused: stay on it
}
