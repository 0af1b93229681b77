#include "DataControl.h"

#include "uikit/ErrorGuard.h"
#include "dataset/TableDataset.h"
#include "dataset/Win1252.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

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

// On Linux Qt names a combo box by its current text; ours are named by their
// caption like every other box, the chosen text being their value.
class ComboAccessible : public QAccessibleWidget
{
public:
    explicit ComboAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::ComboBox) {}

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

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

QAccessibleInterface *comboFactory(const QString &className, QObject *object)
{
    if ((className == QLatin1String("DBComboBox") || className == QLatin1String("DBLookupComboBox"))
        && object && object->isWidgetType())
        return new ComboAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(comboFactory);
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
