#pragma once

#include "TableReads.h"
#include "dataset/RowStore.h"
#include "dataset/TableProvider.h"

#include <QObject>
#include <QSqlDatabase>

#include <future>
#include <map>
#include <memory>

class SqlTableSource;

// DSP<T>: reads a whole table into a table dataset through the database
// client and writes the dataset's pending changes back, in one transaction of
// prepared statements; at the first refusal everything is rolled back.
class DatasetProvider : public QObject, public TableProvider
{
    Q_OBJECT
public:
    explicit DatasetProvider(SqlTableSource *source, QObject *parent = nullptr);

    SqlTableSource *source() const { return m_source; }
    void openSource() override; // SQL<T> made active
    void load(const TableDataset &dataset, RowStore &store) const override;
    void apply(const TableDataset &dataset) override;
    QByteArray fetchPicture(const TableDataset &dataset, int row, int column) const override;
    void readAhead(const TableDataset &dataset) override;
    void readPicturesAhead(const TableDataset &dataset, const QList<int> &rows, int column) const override;
    // Lets go what was read ahead: the connection closes, or opens another file.
    void forgetReadAhead();

signals:
    void applied() const; // changes were written and committed

private:
    QString selectOf(const TableDataset &dataset, const QSqlDatabase &db) const;
    PictureColumn pictureColumn(const TableDataset &dataset, int column) const;
    QVariant codeAsRead(const TableDataset &dataset, int row) const;

    SqlTableSource *m_source;
    mutable std::future<RowStore> m_rowsAhead;
    // Pictures read ahead, by row code and column; a read is skipped when
    // its entry is let go before it starts.
    struct PictureAhead
    {
        std::shared_future<QByteArray> picture;
        std::shared_ptr<bool> wanted;
    };
    using PicturesAhead = std::map<std::pair<qint64, int>, PictureAhead>;
    mutable PicturesAhead m_pictures;
};

// Ends the reads of the dataset layer still open on `db` (a query holding its
// pictures for a report), so that the connection can be closed.
void endOpenReads(const QSqlDatabase &db);
