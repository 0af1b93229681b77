#pragma once

#include "DataControl.h"

#include <QPlainTextEdit>

// A multi-line box bound to a text column: text beyond the column's width is
// cut as it is typed; Tab moves on to the next control. What was typed
// reaches the field when the box is left or before the row is posted.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    using CharCase = ::CharCase;

    // DbError when the dataset has no such column.
    DBMemo(DataSource *source, const QString &column, QWidget *parent = nullptr);

    Field *field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->dataSource(); }

    void setCharCase(CharCase charCase) { m_charCase = charCase; }
    CharCase charCase() const { return m_charCase; }

    // Puts what was typed into the field now (DbError when it does not fit).
    void updateRecord() { m_link->updateRecord(); }

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showField();
    void handOver();
    void typed();

    FieldLink *m_link;
    int m_width = 0;
    CharCase m_charCase = CharCase::Normal;
    bool m_showing = false;
    bool m_modified = false;
};
