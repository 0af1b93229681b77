#pragma once

#include "dataset/DataSource.h"

#include <QPointer>
#include <QWidget>

class QToolButton;
class TableDataset;

// Four flat buttons that move the current row of a data source's dataset:
// first, prior, next, last. A button that would do nothing is disabled.
// Moving while a row is being edited posts it first; a refusal is shown in
// the error box and the row stays. The buttons take no keyboard focus.
class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last };

    explicit DBNavigator(DataSource *source, QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_source; }
    QToolButton *button(Button which) const { return m_buttons[which]; }

private:
    void move(Button which);
    void updateButtons();

    QPointer<DataSource> m_source;
    QToolButton *m_buttons[4];
};
