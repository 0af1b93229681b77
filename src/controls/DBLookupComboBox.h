#pragma once

#include "DataControl.h"

#include <QComboBox>
#include <QHash>
#include <QPointer>

// A drop-down list of the visible rows of a list dataset (it follows the
// list's filter), showing one column and keyed by another. Bound to a column
// of another data source, it shows the row whose key that column holds
// (nothing when no row has it) and choosing a row stores its key there, only
// while that dataset is editing. Bound or not, choosing a row makes it the
// list dataset's current row, before QComboBox::activated reaches the window,
// unless a row of the list dataset is itself being edited.
class DBLookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget *parent = nullptr);

    // DbError when the list dataset has no such columns.
    void setListSource(DataSource *list, const QString &keyColumn, const QString &listColumn);
    // DbError when the dataset has no such column.
    void setDataField(DataSource *source, const QString &column);

    TableDataset *listDataset() const;
    Field *field() const { return m_link ? m_link->field() : nullptr; }

    // The key of the row shown; null when none is.
    QVariant keyValue() const;
    // Unbound: shows the row with this key (none when no row has it).
    void setKeyValue(const QVariant &key);
    // The text listed for each key of the list's visible rows, keyed by the
    // key as text: what the list shows for a stored key, read once.
    QHash<QString, QString> listedTexts() const;

    // When on, the row shown for the bound column also becomes the list
    // dataset's current row (while the list dataset is browsing), so that a
    // window reading the list's row reads the one shown.
    void setListFollowsField(bool on);
    bool listFollowsField() const { return m_listFollows; }

private:
    void showKey(bool moveList);
    int rowOfKey(const QVariant &key) const;
    void chosen(int row);

    QPointer<DataSource> m_list;
    int m_keyColumn = -1;
    FieldLink *m_link = nullptr;
    QVariant m_key; // unbound: the key chosen; bound: the column's value
    bool m_listFollows = false;
    bool m_showing = false;
};
