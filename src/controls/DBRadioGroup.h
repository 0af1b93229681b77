#pragma once

#include "DataControl.h"

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons side by side, bound to a text column: each
// button stores its own text ("MASCULINO", "FEMININO"); a stored value that is
// none of them leaves every button unchecked. A click stores at once, while
// the dataset is editing.
class DBRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    // DbError when the dataset has no such column.
    DBRadioGroup(DataSource *source, const QString &column, const QString &caption, const QStringList &items,
                 QWidget *parent = nullptr);

    Field *field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->dataSource(); }

    QRadioButton *button(int index) const;
    int count() const;
    int checkedIndex() const; // -1 when none is checked

private:
    void showField();
    void clicked(int index);

    FieldLink *m_link;
    QButtonGroup *m_group;
    QStringList m_items;
};
