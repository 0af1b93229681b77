#pragma once

#include "dataset/DataSource.h"
#include "dataset/Field.h"
#include "dataset/TableDataset.h"

#include <QObject>
#include <QPointer>
#include <QValidator>
#include <functional>

class QFocusEvent;
class QWidget;

// Letters typed into a box kept as typed or turned into capitals.
enum class CharCase { Normal, Upper };

// The binding of a data-bound control to one column of a data source. It
// calls `show` at once whenever the row, the mode or the column's value
// changes, and `handOver` (which puts what the control holds into the field)
// when the dataset asks before posting. `handOver` only ever runs while the
// dataset is editing, so a control never writes in browse mode.
class FieldLink : public QObject, public DataLink
{
    Q_OBJECT
public:
    // DbError when the dataset has no such column.
    FieldLink(QWidget *control, DataSource *source, const QString &column, std::function<void()> show,
              std::function<void()> handOver = {});
    ~FieldLink() override;

    DataSource *dataSource() const { return m_source; }
    TableDataset *dataset() const;
    Field *field() const { return m_field; }
    bool editing() const;   // the dataset is in edit or insert mode
    QVariant value() const; // null when the dataset is closed or has no row

    void show() { m_show(); }
    void updateRecord() override; // lets DbError through, so that post is refused
    // Leaving the control: the hand-over as a user action, its error in the
    // error box. False after an error.
    bool updateRecordGuarded();

private:
    QPointer<DataSource> m_source;
    QPointer<Field> m_field;
    std::function<void()> m_show;
    std::function<void()> m_handOver;
};

namespace DataControl {

// `text` with every letter made a capital that the code page can hold ("ç" ->
// "Ç"); the length stays, so a cursor position stays valid.
QString capitals(const QString &text);

// Whether the focus really left the control: not just another window or a
// pop-up list taking it for a moment.
bool leftForReal(const QFocusEvent *event);

// No letter or digit: an input mask left unfilled.
bool isBlank(const QString &text);

// Combo boxes of ours are named for screen readers by their caption label
// (or accessible name) and give the chosen text as their value; they and the
// buttons of a radio group are announced as read-only while they are.
void installAccessibility();

// A data control editable (while its row is inserted or edited) or
// read-only. Read-only, a box, list, radio group, memo or picture box shows
// its value in full contrast and keeps taking the focus, so it can be read
// and is announced as read-only, but no typing, click, wheel or key changes
// it. Any other control (a button) is enabled or disabled instead: disabled
// is the look of what is unavailable.
void setEditable(QWidget *control, bool editable);
bool isReadOnly(const QWidget *control);

} // namespace DataControl

// What a box accepts as it is typed: any text, an integer (digits and a
// leading minus) or an amount (digits, separators, a sign); letters turned
// into capitals on request.
class TypingValidator : public QValidator
{
    Q_OBJECT
public:
    enum class Kind { Text, Integer, Amount };

    TypingValidator(Kind kind, QObject *parent);
    void setCharCase(CharCase charCase) { m_charCase = charCase; }
    CharCase charCase() const { return m_charCase; }

    State validate(QString &input, int &pos) const override;

private:
    Kind m_kind;
    CharCase m_charCase = CharCase::Normal;
};
