#pragma once

#include <QList>
#include <QScopeGuard>
#include <QString>
#include <functional>
#include <memory>

class QAbstractButton;
class QAction;
class QDialog;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;
class QWidget;

// Small pieces every window of the program is built from.
namespace FormKit {

// Calls `handler` for every key pressed in `widget` before the widget sees
// it; the handler returns true when it took the key. Runs as a user action:
// an error is shown in the error box.
void onKeyDown(QWidget *widget, std::function<bool(QKeyEvent *)> handler);

// Calls `handler` when the focus leaves `widget`, as a user action.
void onExit(QWidget *widget, std::function<void()> handler);

// The keys of a box in a small window: Enter and the Down arrow run `enter`
// (or move to the next box when there is no `enter`), the Up arrow moves to
// the previous box, Esc runs `escape`.
void boxKeys(QWidget *box, std::function<void()> enter, std::function<void()> escape);

// The order Tab follows through `controls`, first to last.
void tabChain(const QList<QWidget *> &controls);

// Moves the focus to the next (or previous) control of the window in tab
// order, as Tab (or Shift+Tab) would; the order wraps around.
void focusNeighbour(QWidget *from, bool forward);

// A button with a picture above its caption that takes no keyboard focus;
// `flat` ones show their frame only under the pointer and a hand cursor.
QToolButton *pictureButton(QWidget *parent, const QString &objectName, const QString &caption,
                           const QString &iconPath, bool flat);

// The "Salvar" and "Cancelar" picture buttons (btnSalvar, btnCancelar) of a
// small window, of equal size.
struct SaveCancel
{
    QToolButton *save, *cancel;
};
SaveCancel saveCancelButtons(QWidget *parent);

// Makes `button` a face of `action`: a click triggers the action, and the
// button is enabled and visible exactly while the action is, so a command is
// hidden or disabled in one place. The button keeps its own caption, picture
// and hint (a toolbar button may say more than the menu item).
void showAction(QAbstractButton *button, QAction *action);

// The shortcuts of the window's own actions come before its controls,
// wherever the focus is in the window: a control that would take such a key
// for itself (Shift+Del cuts the text of a box) never gets it, and the key of
// an action that is disabled at the moment does nothing at all. For the
// window and the controls it holds when called.
void windowKeysFirst(QWidget *window);

// A caption label, the buddy of the box it names (screen readers announce
// the box by it).
QLabel *captionLabel(QWidget *parent, const QString &objectName, const QString &text, QWidget *buddy,
                     int pointSize = 0, bool bold = false);

// A caption label above its control, for controls that stand side by side.
QVBoxLayout *captionAbove(QWidget *parent, const QString &labelName, const QString &caption, QWidget *control);

// "Salvar" (btnSalvar) and "Sair" (btnSair) of a small window: Salvar and
// F5 run `save` as a user action, Sair closes the window without saving.
struct SaveAndLeave
{
    QToolButton *save;
    QToolButton *leave;
};
SaveAndLeave saveAndLeaveButtons(QDialog *window, std::function<void()> save);

// Buttons side by side in the middle of a row, a gap between each two.
QHBoxLayout *centredRow(const QList<QWidget *> &buttons);

// A plain text box; `password` echoes "*".
QLineEdit *textBox(QWidget *parent, const QString &objectName, bool password = false, int maxLength = 0);

// Paints the window's (or panel's) background white.
void whiteBackground(QWidget *widget);

// Places a window in the middle of the screen's free area.
void centreOnScreen(QWidget *window);

// Creates a new instance of a window owned by `owner`, keeps it in its
// global reference while it is open, and shows it modally, `prepare` run on
// it first. However it ends, a constructor that throws included, the window
// is gone afterwards and the reference empty.
template <typename Window>
void openModal(Window *&global, QWidget *owner, const std::function<void(Window &)> &prepare = {})
{
    const auto forget = qScopeGuard([&global] { global = nullptr; });
    const std::unique_ptr<Window> window(new Window(owner));
    global = window.get();
    if (prepare)
        prepare(*window);
    window->exec();
}

} // namespace FormKit
