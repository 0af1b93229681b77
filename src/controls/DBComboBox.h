#pragma once

#include "DataControl.h"

#include <QComboBox>
#include <QPointer>

// A drop-down list of fixed texts bound to a text column: it shows the
// stored text (no item chosen when the text is none of them) and choosing an
// item stores its text. Not editable unless the window makes it so; then
// what was typed reaches the field when the list is left or before posting.
class DBComboBox : public QComboBox
{
    Q_OBJECT
public:
    using CharCase = ::CharCase;

    // DbError when the dataset has no such column.
    DBComboBox(DataSource *source, const QString &column, QWidget *parent = nullptr);
    DBComboBox(DataSource *source, const QString &column, const QStringList &items, QWidget *parent = nullptr);

    Field *field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->dataSource(); }

    void setItems(const QStringList &items);
    // Letters typed into an editable list.
    void setCharCase(CharCase charCase);
    // QComboBox::setEditable, the option carried over to the new line edit.
    void setEditable(bool editable);
    CharCase charCase() const { return m_charCase; }

    // Puts what was typed into the field now (DbError when it does not fit).
    void updateRecord() { m_link->updateRecord(); }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showField();
    void handOver();
    void chosen(int index);
    bool typed() const;
    void applyCharCase(); // an editable list's text differs from the one shown

    FieldLink *m_link;
    CharCase m_charCase = CharCase::Normal;
    QPointer<TypingValidator> m_validator;
    QString m_shownText;
    bool m_showing = false;
};
