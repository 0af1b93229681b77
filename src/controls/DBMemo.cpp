#include "DBMemo.h"

#include "dataset/Field.h"

#include <QFocusEvent>
#include <QTextCursor>

DBMemo::DBMemo(DataSource *source, const QString &column, QWidget *parent) : QPlainTextEdit(parent)
{
    m_link = new FieldLink(this, source, column, [this] { showField(); }, [this] { handOver(); });
    if (m_link->field()->type() == FieldType::Text)
        m_width = m_link->field()->size();
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::typed);
    showField();
}

void DBMemo::showField()
{
    Field *f = m_link->field();
    const QString text = f && m_link->dataset() ? f->asString() : QString();
    if (m_modified || toPlainText() != text) {
        m_showing = true;
        setPlainText(text);
        m_showing = false;
    }
    m_modified = false;
}

// Capitals and the width limit applied to what was just typed or pasted.
void DBMemo::typed()
{
    if (m_showing)
        return;
    m_modified = true;
    const QString text = toPlainText();
    QString fixed = m_charCase == CharCase::Upper ? DataControl::capitals(text) : text;
    if (m_width > 0 && fixed.size() > m_width)
        fixed.truncate(m_width);
    if (fixed == text)
        return;
    qsizetype from = 0;
    while (from < fixed.size() && fixed[from] == text[from])
        ++from;
    const int position = textCursor().position();
    QTextCursor edit(document());
    edit.joinPreviousEditBlock(); // one undo step with the typing
    edit.setPosition(int(from));
    edit.setPosition(int(text.size()), QTextCursor::KeepAnchor);
    edit.insertText(fixed.mid(from));
    edit.endEditBlock();
    QTextCursor cursor = textCursor();
    cursor.setPosition(qMin(position, int(fixed.size())));
    setTextCursor(cursor);
}

void DBMemo::handOver()
{
    if (!m_modified)
        return;
    m_link->field()->setAsString(toPlainText());
    m_modified = false;
}

void DBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (!DataControl::leftForReal(event) || !m_modified)
        return;
    if (!m_link->editing())
        showField(); // typed in browse mode: never stored
    else
        m_link->updateRecordGuarded();
}
