#include "DBNavigator.h"

#include "uikit/Appearance.h"
#include "uikit/ErrorGuard.h"
#include "dataset/DataSource.h"
#include "dataset/TableDataset.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>

DBNavigator::DBNavigator(DataSource *source, QWidget *parent) : QWidget(parent), m_source(source)
{
    struct Look
    {
        const char *icon;
        QString name;
    };
    const Look looks[4] = {{":/icons/primeiro.svg", QStringLiteral("Primeiro")},
                           {":/icons/anterior.svg", QStringLiteral("Anterior")},
                           {":/icons/proximo.svg", QStringLiteral("Próximo")},
                           {":/icons/ultimo.svg", QStringLiteral("Último")}};
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setIcon(QIcon(QString::fromLatin1(looks[i].icon)));
        b->setIconSize(Appearance::scaled(QSize(20, 20)));
        b->setToolTip(looks[i].name);
        b->setAccessibleName(looks[i].name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        const auto which = Button(i);
        connect(b, &QToolButton::clicked, this, [this, which] { move(which); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    setFocusPolicy(Qt::NoFocus);

    TableDataset *ds = source->dataset();
    connect(ds, &Dataset::stateChanged, this, &DBNavigator::updateButtons);
    connect(ds, &Dataset::currentChanged, this, &DBNavigator::updateButtons);
    connect(ds, &Dataset::rowsReset, this, &DBNavigator::updateButtons);
    updateButtons();
}

void DBNavigator::move(Button which)
{
    TableDataset *ds = m_source ? m_source->dataset() : nullptr;
    if (!ds)
        return;
    runGuarded([&] {
        switch (which) {
        case First:
            ds->first();
            break;
        case Prior:
            ds->prior();
            break;
        case Next:
            ds->next();
            break;
        case Last:
            ds->last();
            break;
        }
    });
    updateButtons(); // also after a refusal
}

void DBNavigator::updateButtons()
{
    const TableDataset *ds = m_source ? m_source->dataset() : nullptr;
    const int count = ds && ds->active() ? ds->recordCount() : 0;
    const int current = ds ? ds->currentIndex() : -1;
    const bool back = count > 0 && current > 0;
    const bool forward = count > 0 && current < count - 1;
    m_buttons[First]->setEnabled(back);
    m_buttons[Prior]->setEnabled(back);
    m_buttons[Next]->setEnabled(forward);
    m_buttons[Last]->setEnabled(forward);
}
