#include "DBRadioGroup.h"

#include "uikit/ErrorGuard.h"
#include "dataset/Field.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

DBRadioGroup::DBRadioGroup(DataSource *source, const QString &column, const QString &caption,
                           const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)), m_items(items)
{
    DataControl::installAccessibility();
    m_link = new FieldLink(this, source, column, [this] { showField(); });
    auto *layout = new QHBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        layout->addWidget(b);
    }
    layout->addStretch();
    connect(m_group, &QButtonGroup::idClicked, this, &DBRadioGroup::clicked);
    showField();
}

QRadioButton *DBRadioGroup::button(int index) const
{
    return static_cast<QRadioButton *>(m_group->button(index));
}

int DBRadioGroup::count() const
{
    return int(m_items.size());
}

int DBRadioGroup::checkedIndex() const
{
    return m_group->checkedId();
}

void DBRadioGroup::showField()
{
    Field *f = m_link->field();
    const int index = f && m_link->dataset() ? int(m_items.indexOf(f->asString())) : -1;
    if (index >= 0) {
        button(index)->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; let go of it for a moment.
    m_group->setExclusive(false);
    for (QAbstractButton *b : m_group->buttons())
        b->setChecked(false);
    m_group->setExclusive(true);
}

void DBRadioGroup::clicked(int index)
{
    if (!m_link->editing() || !runGuarded([&] { m_link->field()->setAsString(m_items[index]); }))
        showField(); // never stored in browse mode
}
