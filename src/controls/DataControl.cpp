#include "DataControl.h"

#include "uikit/ErrorGuard.h"
#include "dataset/TableDataset.h"
#include "dataset/Win1252.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

FieldLink::FieldLink(QWidget *control, DataSource *source, const QString &column, std::function<void()> show,
                     std::function<void()> handOver)
    : QObject(control), m_source(source), m_show(std::move(show)), m_handOver(std::move(handOver))
{
    TableDataset *ds = source->dataset();
    m_field = ds->fieldByName(column);
    const int index = m_field->index();
    connect(ds, &Dataset::stateChanged, this, [this] { m_show(); });
    connect(ds, &Dataset::currentChanged, this, [this] { m_show(); });
    connect(ds, &Dataset::recordChanged, this, [this] { m_show(); });
    connect(ds, &Dataset::rowsReset, this, [this] { m_show(); });
    connect(ds, &Dataset::fieldChanged, this, [this, index](int c) {
        if (c == index)
            m_show();
    });
    connect(ds, &TableDataset::rowChanged, this, [this, ds](int row) {
        if (row == ds->currentIndex())
            m_show();
    });
    source->addLink(this);
}

FieldLink::~FieldLink()
{
    if (m_source)
        m_source->removeLink(this);
}

TableDataset *FieldLink::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

bool FieldLink::editing() const
{
    const TableDataset *ds = dataset();
    return ds && m_field && ds->editing();
}

QVariant FieldLink::value() const
{
    return m_field && dataset() ? m_field->value() : QVariant();
}

void FieldLink::updateRecord()
{
    if (m_handOver && editing())
        m_handOver();
}

bool FieldLink::updateRecordGuarded()
{
    return runGuarded([this] { updateRecord(); });
}

namespace DataControl {

QString capitals(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const QChar upper = c.toUpper();
        if (upper == c)
            continue;
        QByteArray byte;
        if (Win1252::encode(QString(upper), byte)) // "µ" has no capital in the code page
            c = upper;
    }
    return result;
}

bool leftForReal(const QFocusEvent *event)
{
    switch (event->reason()) {
    case Qt::ActiveWindowFocusReason: // the error box, another window
    case Qt::PopupFocusReason:        // a drop-down list or context menu
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

bool isBlank(const QString &text)
{
    for (QChar c : text)
        if (c.isLetterOrNumber())
            return false;
    return true;
}

namespace {

// Keeps a list, a radio group or a picture box as it is while read-only:
// the clicks, the wheel and the keys that would choose another value never
// reach it or its buttons. Tab still moves on, and a click still puts the
// focus there, so it can be read.
class ReadOnlyGuard : public QObject
{
public:
    explicit ReadOnlyGuard(QWidget *control) : QObject(control)
    {
        control->installEventFilter(this);
        for (QWidget *part : control->findChildren<QWidget *>())
            if (!qobject_cast<QLineEdit *>(part)) // an editable list's text is read-only itself
                part->installEventFilter(this);
    }

    static ReadOnlyGuard *of(const QWidget *control)
    {
        if (control)
            for (QObject *child : control->children())
                if (auto *guard = dynamic_cast<ReadOnlyGuard *>(child))
                    return guard;
        return nullptr;
    }

    bool on = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!on)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (auto *w = qobject_cast<QWidget *>(watched); w && (w->focusPolicy() & Qt::ClickFocus))
                w->setFocus(Qt::MouseFocusReason);
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::KeyPress:
            return changesValue(static_cast<QKeyEvent *>(event));
        default:
            return false;
        }
    }

private:
    static bool changesValue(const QKeyEvent *key)
    {
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_F4:
        case Qt::Key_Space:
        case Qt::Key_Select:
            return true;
        default: // a letter typed into a list chooses the item it starts
            return !key->text().isEmpty() && key->text().at(0).isPrint()
                && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        }
    }
};

} // namespace

void setEditable(QWidget *control, bool editable)
{
    if (auto *box = qobject_cast<QLineEdit *>(control))
        return box->setReadOnly(!editable);
    if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
        return memo->setReadOnly(!editable);
    if (!qobject_cast<QComboBox *>(control) && !qobject_cast<QGroupBox *>(control) && !qobject_cast<QLabel *>(control))
        return control->setEnabled(editable);
    ReadOnlyGuard *guard = ReadOnlyGuard::of(control);
    if (!guard)
        guard = new ReadOnlyGuard(control);
    if (auto *list = qobject_cast<QComboBox *>(control); list && list->lineEdit())
        list->lineEdit()->setReadOnly(!editable);
    if (guard->on == !editable)
        return;
    guard->on = !editable;
    QAccessible::State changed;
    changed.readOnly = true;
    QAccessibleStateChangeEvent event(control, changed);
    QAccessible::updateAccessibility(&event);
}

bool isReadOnly(const QWidget *control)
{
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->isReadOnly();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        return memo->isReadOnly();
    const ReadOnlyGuard *guard = ReadOnlyGuard::of(control);
    return guard && guard->on;
}

namespace {

// On Linux Qt names a combo box by its current text; ours are named by their
// caption like every other box, the chosen text being their value.
class ComboAccessible : public QAccessibleWidget
{
public:
    explicit ComboAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::ComboBox) {}

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = isReadOnly(combo());
        s.editable = combo()->isEditable() && !s.readOnly;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return combo()->isEditable() ? 2 : 1; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *c) const override
    {
        if (c->object() == combo()->view())
            return 0;
        if (combo()->isEditable() && c->object() == combo()->lineEdit())
            return 1;
        return -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name == showMenuAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
};

// A button of a radio group bound to a column: a radio button as Qt's,
// announced as read-only while its group is.
class RadioAccessible : public QAccessibleWidget
{
public:
    explicit RadioAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::RadioButton) {}

    QRadioButton *button() const { return static_cast<QRadioButton *>(widget()); }
    bool readOnly() const { return isReadOnly(button()->parentWidget()); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        s.readOnly = readOnly();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return button()->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return readOnly() ? QStringList() : QStringList{toggleAction()};
    }

    void doAction(const QString &name) override
    {
        if (name == toggleAction() && !readOnly())
            button()->click();
    }
};

QAccessibleInterface *controlFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("DBComboBox") || className == QLatin1String("DBLookupComboBox"))
        return new ComboAccessible(static_cast<QWidget *>(object));
    if (className == QLatin1String("QRadioButton") && object->parent() && object->parent()->inherits("DBRadioGroup"))
        return new RadioAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace DataControl

TypingValidator::TypingValidator(Kind kind, QObject *parent) : QValidator(parent), m_kind(kind)
{
}

QValidator::State TypingValidator::validate(QString &input, int &) const
{
    if (m_charCase == CharCase::Upper)
        input = DataControl::capitals(input);
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        switch (m_kind) {
        case Kind::Text:
            break;
        case Kind::Integer:
            if (!c.isDigit() && !(i == 0 && c == u'-'))
                return Invalid;
            break;
        case Kind::Amount:
            if (!c.isDigit() && c != u'.' && c != u',' && c != u'-' && c != u'+' && !c.isSpace())
                return Invalid;
            break;
        }
    }
    return Acceptable;
}
