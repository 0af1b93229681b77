#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QVariant>

class DBLookupComboBox;
class QCompleter;
class QStringListModel;

// A search box beside a bound look-up list with many rows (the members):
// typing part of a name drops down the rows of the list whose shown column
// contains it, capitals and accents aside ("joao" finds "JOÃO"), by name;
// choosing one stores its key in the list's column, as a choice made in the
// list would, while that dataset is editing.
class LookupSearch : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int kMostShown = 50;

    LookupSearch(DBLookupComboBox *list, const QString &keyColumn, const QString &nameColumn, QWidget *parent);

    // The names that `text` finds, by name, at most kMostShown, with their keys.
    QList<std::pair<QString, QVariant>> matches(const QString &text) const;
    // Stores the key of the `index`-th name last offered.
    void choose(int index);

private:
    void offer(const QString &text);

    QPointer<DBLookupComboBox> m_list;
    QString m_keyColumn, m_nameColumn;
    QCompleter *m_completer;
    QStringListModel *m_names;
    QList<QVariant> m_keys; // of the names offered, in order
};
