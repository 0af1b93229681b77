#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QList>

class RowStore;
class TableDataset;

// Where a table dataset's rows come from and its changes go: the database
// (DatasetProvider) or, in tests of the layers above, a table in memory.
// Writing is all or nothing: at the first refusal nothing is kept and a
// DbError says why; the dataset keeps its pending changes.
class TableProvider
{
public:
    virtual ~TableProvider() = default;

    // Makes the source of the rows ready before a table is opened; DbError
    // when it cannot be reached.
    virtual void openSource() = 0;
    // Reads every row into `store`, pictures left where they are (see RowStore).
    virtual void load(const TableDataset &dataset, RowStore &store) const = 0;
    // Writes the dataset's pending changes. An update or delete finds its row
    // by the code and by every non-picture value the row had when it was read,
    // so a row changed meanwhile by another workstation is never overwritten.
    virtual void apply(const TableDataset &dataset) = 0;
    // The picture of a physical row as the source holds it now, found by the
    // row's code as read; empty when it has none or the row is gone.
    virtual QByteArray fetchPicture(const TableDataset &dataset, int row, int column) const = 0;
    // Starts reading the table beside the windows, for its first open; a
    // source that reads at once needs nothing here. DbError when the table
    // cannot be read at all.
    virtual void readAhead(const TableDataset &) {}
    // Starts reading the pictures of `rows` (physical rows) beside the
    // windows, the rows next to the one on screen; others read ahead before
    // may be let go.
    virtual void readPicturesAhead(const TableDataset &, const QList<int> &, int) const {}
};

// The code column: the required integer column of a table; -1 when it has none.
int codeColumn(const FieldDefs &defs);

// The message that refuses a change to a row another connection changed or deleted.
inline constexpr const char *kRowChangedByOtherUser = "Registro não encontrado ou alterado por outro usuário.";
