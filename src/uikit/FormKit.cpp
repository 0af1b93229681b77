#include "FormKit.h"

#include <QFocusEvent>

#include "ErrorGuard.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class EventHook : public QObject
{
public:
    EventHook(QWidget *widget, std::function<bool(QEvent *)> hook) : QObject(widget), m_hook(std::move(hook))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        bool taken = false;
        runGuarded([&] { taken = m_hook(event); });
        return taken;
    }

private:
    std::function<bool(QEvent *)> m_hook;
};

// The filter of windowKeysFirst. Qt runs a window's shortcut before the
// focused control sees the key only when that control does not claim the key
// (a box claims Shift+Del, to cut), only while the action is enabled and only
// while the window is the active one. A key of the window's actions that
// reaches a control anyway is taken here: its action is triggered, which does
// nothing while it is disabled.
class WindowKeys : public QObject
{
public:
    explicit WindowKeys(QWidget *window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
        for (QWidget *control : window->findChildren<QWidget *>())
            control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QWidget *>(watched)->window() != m_window)
            return false; // a list's popup is a window of its own
        const auto *key = static_cast<QKeyEvent *>(event);
        QAction *action = actionOf(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        if (action && action->isVisible())
            action->trigger();
        return action;
    }

private:
    QAction *actionOf(const QKeySequence &key) const
    {
        for (QAction *action : m_window->actions())
            if (action->shortcuts().contains(key))
                return action;
        return nullptr;
    }

    QWidget *m_window;
};

bool takesTabFocus(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(w->window());
}

} // namespace

namespace FormKit {

void windowKeysFirst(QWidget *window)
{
    new WindowKeys(window);
}

void onKeyDown(QWidget *widget, std::function<bool(QKeyEvent *)> handler)
{
    new EventHook(widget, [handler = std::move(handler)](QEvent *e) {
        return e->type() == QEvent::KeyPress && handler(static_cast<QKeyEvent *>(e));
    });
}

void onExit(QWidget *widget, std::function<void()> handler)
{
    // Only a move to another control of a shown window is an exit: focus
    // lost because the window itself went inactive (another window), or
    // because the window is hidden or destroyed (when its handlers are gone),
    // is none.
    new EventHook(widget, [widget, handler = std::move(handler)](QEvent *e) {
        if (e->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(e)->reason() != Qt::ActiveWindowFocusReason
            && widget->window()->isVisible())
            handler();
        return false;
    });
}

void boxKeys(QWidget *box, std::function<void()> enter, std::function<void()> escape)
{
    onKeyDown(box, [box, enter = std::move(enter), escape = std::move(escape)](QKeyEvent *e) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            if (enter)
                enter();
            else
                focusNeighbour(box, true);
            return true;
        case Qt::Key_Up:
            focusNeighbour(box, false);
            return true;
        case Qt::Key_Escape:
            escape();
            return true;
        default:
            return false;
        }
    });
}

void focusNeighbour(QWidget *from, bool forward)
{
    QWidget *w = from;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    } while (w != from && (w->window() != from->window() || !takesTabFocus(w)));
    w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

QToolButton *pictureButton(QWidget *parent, const QString &objectName, const QString &caption,
                           const QString &iconPath, bool flat)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setText(caption);
    b->setIcon(QIcon(iconPath));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(flat);
    if (flat)
        b->setCursor(Qt::PointingHandCursor);
    return b;
}

SaveCancel saveCancelButtons(QWidget *parent)
{
    const SaveCancel buttons{
        pictureButton(parent, QStringLiteral("btnSalvar"), QStringLiteral("Salvar"), QStringLiteral(":/icons/salvar.svg"),
                      false),
        pictureButton(parent, QStringLiteral("btnCancelar"), QStringLiteral("Cancelar"),
                      QStringLiteral(":/icons/cancelar.svg"), false)};
    for (QToolButton *b : {buttons.save, buttons.cancel})
        b->setMinimumSize(100, 60);
    return buttons;
}

void showAction(QAbstractButton *button, QAction *action)
{
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

QLabel *captionLabel(QWidget *parent, const QString &objectName, const QString &text, QWidget *buddy,
                     int pointSize, bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    if (buddy)
        label->setBuddy(buddy);
    QFont f = label->font();
    if (pointSize > 0)
        f.setPointSize(pointSize);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

void tabChain(const QList<QWidget *> &controls)
{
    for (int i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

QVBoxLayout *captionAbove(QWidget *parent, const QString &labelName, const QString &caption, QWidget *control)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(captionLabel(parent, labelName, caption, control, 0, true));
    column->addWidget(control);
    return column;
}

QHBoxLayout *centredRow(const QList<QWidget *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QWidget *button : buttons) {
        if (button != buttons.first())
            row->addSpacing(16);
        row->addWidget(button);
    }
    row->addStretch();
    return row;
}

QLineEdit *textBox(QWidget *parent, const QString &objectName, bool password, int maxLength)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    if (password) {
        box->setEchoMode(QLineEdit::Password);
        box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    }
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

void whiteBackground(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::white);
    widget->setPalette(pal);
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace FormKit
