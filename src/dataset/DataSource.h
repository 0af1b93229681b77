#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class TableDataset;

// A data-bound control's link to its data source. Before a row is posted the
// dataset asks every link to hand over the value its control holds, so a key
// that saves from inside a box saves what was typed there.
class DataLink
{
public:
    virtual ~DataLink() = default;
    virtual void updateRecord() = 0;
};

// DS<T>: what the data-bound controls and grids of the windows bind to.
class DataSource : public QObject
{
    Q_OBJECT
public:
    DataSource(TableDataset *dataset, QObject *parent = nullptr);
    ~DataSource() override;

    TableDataset *dataset() const { return m_dataset; }
    void addLink(DataLink *link);
    void removeLink(DataLink *link);
    void updateRecord(); // asks every link for its control's value

private:
    QPointer<TableDataset> m_dataset;
    std::vector<DataLink *> m_links;
};
