#pragma once

#include "DataControl.h"
#include "dataset/FieldDef.h"

#include <QLineEdit>

// An edit box bound to one column. Texts are limited to the column's width,
// masked columns (dates, tax numbers) are typed through their input mask,
// integer columns take digits only, and money is shown in the currency format
// except while it is being edited. What was typed reaches the field when the
// box is left or before the row is posted.
class DBEdit : public QLineEdit
{
    Q_OBJECT
public:
    using CharCase = ::CharCase;

    // DbError when the dataset has no such column.
    DBEdit(DataSource *source, const QString &column, QWidget *parent = nullptr);

    Field *field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->dataSource(); }

    void setCharCase(CharCase charCase);
    CharCase charCase() const { return m_validator->charCase(); }

    // Puts what was typed into the field now (DbError when it does not fit).
    void updateRecord() { m_link->updateRecord(); }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void showField();
    void handOver();

    FieldLink *m_link;
    FieldType m_type;
    TypingValidator *m_validator;
    bool m_typed = false; // the user changed the text since it was shown
    bool m_showing = false;
};
