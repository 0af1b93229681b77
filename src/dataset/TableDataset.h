#pragma once

#include "Dataset.h"
#include "LikeFilter.h"
#include "RowStore.h"

#include <optional>
#include <vector>

class DataSource;
class TableProvider;

// TB<T>: the in-memory copy of a whole table, shared by every window. It has
// a current row, a mode (browse, edit, insert) with a buffer for the row being
// edited, a log of pending inserts, changes and deletes with the values each
// row had when it was read, and an optional search filter. Changes reach the
// database only through applyUpdates, in one transaction.
class TableDataset : public Dataset
{
    Q_OBJECT
public:
    struct Change
    {
        enum Kind { Inserted, Modified, Deleted };
        Kind kind;
        int row;                    // physical row in the store
        QVector<QVariant> original; // values as read (Modified, Deleted)
    };

    TableDataset(const QString &name, const FieldDefs &defs, QObject *parent = nullptr);

    void setProvider(TableProvider *provider) { m_provider = provider; }
    TableProvider *provider() const { return m_provider; }
    const FieldDefs &fieldDefs() const { return m_defs; }

    void open();  // reads every row; nothing happens when already open
    // Lets the rows be read beside the windows for the first open (a table
    // the next step will need); the open then takes them. DbError when the
    // table cannot be read.
    void readAhead();
    void close(); // drops the rows and every pending change

    // A read-only table refuses every change (insert, edit, del, the post of
    // a row being edited, applyUpdates) with a DbError saying `refusal`, so
    // no control and no code path stores anything; reading, moving and
    // searching work as ever. The session sets it from the account's profile.
    void setReadOnly(bool readOnly, const QString &refusal = {});
    bool readOnly() const { return m_readOnly; }

    void insert(); // appends a new empty row in insert mode
    void edit();   // the current row in edit mode; on no row, insert
    void post();   // stores the row being edited in memory
    void cancel(); // drops the row being edited
    void del();    // removes the current row in memory
    void applyUpdates(int maxErrors = 0); // writes the log; DbError on the first refusal
    void cancelUpdates(); // undoes every pending change in memory: rows as last read or applied
    // Puts the row posted last back in insert or edit mode with the values it
    // was posted with, undoing its pending change in memory: after the
    // database refused it, the user corrects and saves again, or cancels.
    void revertToEdit();

    // Makes current the first visible row whose columns ("A;B") equal the
    // values exactly, case counting. False, current row unchanged, otherwise.
    bool locate(const QString &columns, const QVariantList &values);

    const QString &filter() const { return m_filterText; }
    void setFilter(const QString &expression);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on);
    // Sets `filter` and switches it on in one step: the rows, grids and bound
    // controls are reset once. filter() then reads its expression.
    void filterBy(const LikeFilter &filter);
    // A search box's text: the rows whose `column` contains `text`.
    void setSearch(const QString &column, const QString &text) { filterBy(LikeFilter::containing(column, text)); }

    // Visible rows, for grids and lists.
    int recordCount() const override { return int(visibleRows().size()); }
    QVariant valueAt(int visibleRow, int column) const;

    // Every row, whatever the filter.
    int allRowCount() const { return int(m_order.size()); }
    QVariant allRowValue(int index, int column) const;
    // The largest value of an integer column over every row, plus one (1 when empty).
    int nextCode(int column) const;

    const std::vector<Change> &changes() const { return m_log; }
    bool hasPendingChanges() const { return !m_log.empty(); }
    // The values of a physical row as held: a picture that is only in the
    // database reads as StoredBlob (see RowStore).
    QVector<QVariant> rowValues(int row) const;
    // The values of a physical row as it was read: before its pending change.
    QVector<QVariant> valuesAsRead(int row) const;

    QVariant fieldValue(int column) const override;
    void setFieldValue(int column, const QVariant &value) override;

    void addDataSource(DataSource *source);
    void removeDataSource(DataSource *source);

signals:
    void rowChanged(int visibleRow); // a posted change of a visible row

protected:
    void beforeScroll() override { post(); }

private:
    const std::vector<int> &visibleRows() const { return m_filtered && m_filter ? m_visible : m_order; }
    int currentRow() const; // physical row of the current visible row, -1 when none
    void rebuildVisible();
    void refilter(); // the visible rows anew, the first current, every listener told
    int textColumnOf(const LikeFilter &filter); // DbError for a column that holds no text
    void rowsChangedKeepingPosition();
    void showRow(int row);  // makes `row` current if it is visible
    void logChange(Change::Kind kind, int row);
    bool rowEquals(int row, const std::vector<Field *> &fields, const QVariantList &values) const;
    void checkRequired() const;
    void refuseWhenReadOnly() const;
    // A held value as callers see it: a picture left in the database is
    // fetched, and only the last one fetched is kept.
    QVariant resolved(int row, int column, const QVariant &held) const;
    void readNeighbourPicturesAhead(int row, int column) const;
    void forgetWrittenPictures(); // after an apply: written pictures are read again when needed

    FieldDefs m_defs;
    TableProvider *m_provider = nullptr;
    RowStore m_store;
    std::vector<int> m_order;   // live rows, in load order
    std::vector<int> m_visible; // the rows that pass the filter
    QVector<QVariant> m_buffer; // the row being edited or inserted
    int m_editRow = -1;
    int m_lastPosted = -1;
    std::vector<Change> m_log;
    QString m_filterText;
    std::optional<LikeFilter> m_filter;
    int m_filterColumn = -1;
    bool m_filtered = false;
    bool m_readOnly = false;
    QString m_readOnlyRefusal;
    std::vector<DataSource *> m_sources;
    struct FetchedPicture
    {
        int row = -1;
        int column = -1;
        QByteArray bytes;
    };
    mutable FetchedPicture m_fetched;
};
