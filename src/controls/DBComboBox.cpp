#include "DBComboBox.h"

#include "uikit/ErrorGuard.h"
#include "dataset/Field.h"

#include <QFocusEvent>
#include <QLineEdit>

DBComboBox::DBComboBox(DataSource *source, const QString &column, QWidget *parent)
    : DBComboBox(source, column, {}, parent)
{
}

DBComboBox::DBComboBox(DataSource *source, const QString &column, const QStringList &items, QWidget *parent)
    : QComboBox(parent)
{
    DataControl::installAccessibility();
    m_link = new FieldLink(this, source, column, [this] { showField(); }, [this] { handOver(); });
    setInsertPolicy(QComboBox::NoInsert);
    addItems(items);
    // Items added later by the window: QComboBox would choose the first one.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { showField(); });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { showField(); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { showField(); });
    connect(this, &QComboBox::activated, this, &DBComboBox::chosen);
    showField();
}

void DBComboBox::setItems(const QStringList &items)
{
    m_showing = true;
    clear();
    addItems(items);
    m_showing = false;
    showField();
}

void DBComboBox::setCharCase(CharCase charCase)
{
    m_charCase = charCase;
    applyCharCase();
}

void DBComboBox::setEditable(bool editable)
{
    QComboBox::setEditable(editable);
    applyCharCase();
}

// The line edit of an editable list comes and goes with setEditable.
void DBComboBox::applyCharCase()
{
    if (!lineEdit())
        return;
    if (!m_validator || lineEdit()->validator() != m_validator) {
        m_validator = new TypingValidator(TypingValidator::Kind::Text, lineEdit());
        lineEdit()->setValidator(m_validator);
    }
    m_validator->setCharCase(m_charCase);
}

void DBComboBox::showField()
{
    if (m_showing)
        return;
    Field *f = m_link->field();
    const QString text = f && m_link->dataset() ? f->asString() : QString();
    m_showing = true;
    setCurrentIndex(text.isEmpty() ? -1 : findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (isEditable())
        setEditText(text); // also an unknown text
    m_shownText = currentText();
    m_showing = false;
}

void DBComboBox::chosen(int index)
{
    if (m_showing)
        return;
    if (!m_link->editing()) {
        showField(); // never stored in browse mode
        return;
    }
    const QString text = index < 0 ? currentText() : itemText(index);
    if (!runGuarded([&] { m_link->field()->setAsString(text); }))
        showField();
}

bool DBComboBox::typed() const
{
    return isEditable() && currentText() != m_shownText;
}

void DBComboBox::handOver()
{
    if (typed())
        m_link->field()->setAsString(currentText());
}

void DBComboBox::focusInEvent(QFocusEvent *event)
{
    applyCharCase();
    QComboBox::focusInEvent(event);
}

void DBComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (!DataControl::leftForReal(event) || !typed())
        return;
    if (!m_link->editing())
        showField();
    else
        m_link->updateRecordGuarded();
}
