#include "DBEdit.h"

#include "dataset/DbError.h"
#include "dataset/Field.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

TypingValidator::Kind typingKind(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
        return TypingValidator::Kind::Integer;
    case FieldType::Money:
        return TypingValidator::Kind::Amount;
    default:
        return TypingValidator::Kind::Text;
    }
}

QString lettersAndDigits(const QString &text)
{
    QString kept;
    for (QChar c : text)
        if (c.isLetterOrNumber())
            kept += c;
    return kept;
}

} // namespace

DBEdit::DBEdit(DataSource *source, const QString &column, QWidget *parent) : QLineEdit(parent)
{
    m_link = new FieldLink(this, source, column, [this] { showField(); }, [this] { handOver(); });
    Field *f = m_link->field();
    m_type = f->type();
    m_validator = new TypingValidator(typingKind(m_type), this);
    setValidator(m_validator);
    // Any change but the box's own showing of the field counts as typed: keys,
    // and text set through the accessibility interface (speech input), which
    // Qt's line edit puts in with setText.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_showing)
            m_typed = true;
    });
    if (!f->inputMask().isEmpty())
        setInputMask(f->inputMask());
    else if (f->type() == FieldType::Text && f->size() > 0)
        setMaxLength(f->size());
    showField();
}

void DBEdit::setCharCase(CharCase charCase)
{
    m_validator->setCharCase(charCase);
}

void DBEdit::showField()
{
    Field *f = m_link->field();
    QString text;
    if (f && m_link->dataset()) {
        if (m_type == FieldType::Money)
            text = m_link->editing() && hasFocus() ? f->editText() : f->displayText();
        else if (inputMask().isEmpty())
            text = f->asString();
        else // the mask puts its own separators between them: "172-588-395-34" shows as "172.588.395-34"
            text = lettersAndDigits(f->asString());
    }
    m_showing = true;
    setText(text);
    m_showing = false;
    m_typed = false;
    if (!inputMask().isEmpty())
        setCursorPosition(0); // typing fills the mask from its start
}

void DBEdit::handOver()
{
    if (!m_typed)
        return;
    Field *f = m_link->field();
    if (inputMask().isEmpty()) {
        f->setAsString(text());
    } else {
        const QString shown = displayText(); // with the blanks still unfilled
        if (DataControl::isBlank(shown))
            f->clear();
        else if (m_type != FieldType::Date && !hasAcceptableInput()) // dates: the field says why
            throw DbError(QStringLiteral("'%1' está incompleto: preencha todas as posições ou deixe em branco.")
                              .arg(shown));
        else
            f->setAsString(shown);
    }
    m_typed = false;
}

void DBEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_typed && m_type == FieldType::Money)
        showField(); // the plain number while it is being edited
    QLineEdit::focusInEvent(event);
}

// Capitals made before the box sees the key keep its undo history, which a
// validator changing the text would clear; the validator still serves pastes.
void DBEdit::keyPressEvent(QKeyEvent *event)
{
    const QString capitals = DataControl::capitals(event->text());
    if (charCase() != CharCase::Upper || capitals == event->text()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), capitals, event->isAutoRepeat(),
                    ushort(event->count()));
    QLineEdit::keyPressEvent(&typed);
    event->setAccepted(typed.isAccepted());
}

void DBEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (!inputMask().isEmpty() && DataControl::isBlank(displayText()))
        setCursorPosition(0); // not somewhere inside the blank mask
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!DataControl::leftForReal(event))
        return;
    if (m_typed && m_link->editing() && !m_link->updateRecordGuarded())
        return; // the error box has said why; what was typed stays
    if (m_typed || m_type == FieldType::Money)
        showField(); // typed in browse mode: never stored; money back in the currency format
}
