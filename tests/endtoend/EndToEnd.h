#pragma once

// What the end-to-end stories share: the program started as at start-up on
// a fresh database, signing in through the sign-in window, and driving the
// modal windows that the main window's commands open.
#include "ProgramFixture.h"

#include "Program.h"
#include "uikit/Messages.h"
#include "controls/DBLookupComboBox.h"
#include "main/UMenu.h"
#include "reports/engine/PrintPreview.h"
#include "reports/engine/ReportRun.h"
#include "signin/ULogin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

// The program as the start code builds it: the sign-in window (with DM) on
// a fresh database; a correct pair creates the main window it owns.
struct RunningProgram
{
    ProgramFixture fx;
    Messages::Recorder messages;
    std::unique_ptr<TFLogin> login{createSignInWindow(&countEnd)};

    RunningProgram()
    {
        ends = 0;
        login->show();
        QApplication::setActiveWindow(login.get());
        if (!QTest::qWaitForWindowActive(login.get()))
            qWarning("sign-in window not active");
    }

    // Types the pair into the sign-in window and clicks "Entrar"; the main
    // window when it opened.
    TFMenu *signIn(const QString &user, const QString &password)
    {
        typeOver(login->txtLogin, user);
        typeOver(login->txtSenha, password);
        QTest::mouseClick(login->btnEntrar, Qt::LeftButton);
        return mainWindow();
    }

    TFMenu *mainWindow() const
    {
        TFMenu *menu = login->findChild<TFMenu *>();
        return menu && menu->isVisible() ? menu : nullptr;
    }

    static void typeOver(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    static inline int ends = 0; // times the program was told to end
    static void countEnd() { ++ends; }
};

// Runs `action` on the next modal window, which must be a `Window`, and
// closes that window afterwards if the action left it open, so that a
// failed check inside never leaves a modal window blocking the test.
// Keeps a modal window the active one while it is up, as a desktop's window
// manager does: the offscreen platform may hand the activation back late to
// the window below, and only the active window's boxes get the focus-out a
// window acts on (a name copied when the user leaves its box).
class ModalInFront : public QObject
{
public:
    explicit ModalInFront(QWidget *modal) : modal_(modal) { qApp->installEventFilter(this); }
    ~ModalInFront() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && watched != modal_ && modal_ && modal_->isVisible()
            && QApplication::activeModalWidget() == modal_ && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow() && !restoring_) {
            restoring_ = true;
            QApplication::setActiveWindow(modal_);
            restoring_ = false;
        }
        return false;
    }

private:
    QPointer<QWidget> modal_;
    bool restoring_ = false;
};

template <typename Window>
void whenWindowOpens(std::function<void(Window *)> action)
{
    whenModalOpens([action](QWidget *modal) {
        QPointer<QWidget> opened(modal);
        const ModalInFront inFront(modal);
        [&] {
            auto *window = qobject_cast<Window *>(modal);
            QVERIFY2(window, qPrintable("unexpected window " + modal->windowTitle()));
            // As a user, who types once the window has come up and taken the focus.
            QVERIFY(QTest::qWaitForWindowActive(window));
            action(window);
        }();
        if (opened && opened->isVisible())
            opened->close();
    });
}

// Runs the command that opens a `Window` modally (a click, a menu item) and
// drives that window with `action` until the command returns.
template <typename Window>
void drive(const std::function<void()> &command, std::function<void(Window *)> action)
{
    whenWindowOpens<Window>(std::move(action));
    command();
}

// Clicks `button`, which opens a print preview, and returns the laid-out
// pages that the preview shows; the preview is closed.
inline ReportRun previewOf(QAbstractButton *button)
{
    ReportRun run;
    whenPreviewLaidOut([&run](PrintPreview *preview) {
        run = preview->run();
        preview->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return run;
}

// Chooses the entry `text` of a drop-down list with the keyboard, as a user
// walks it with the arrow keys; false when the list does not offer it.
inline bool chooseInList(DBLookupComboBox *list, const QString &text)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int step = 0; step < list->count() && list->currentText() != text; ++step)
        QTest::keyClick(list, Qt::Key_Down);
    return list->currentText() == text;
}

inline QStringList itemsOf(DBLookupComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// The one text of `element` on `page`; a marker when there is none or several.
inline QString textOf(const ReportRun &run, int page, const char *element)
{
    const QStringList texts = run.texts(page, element);
    return texts.size() == 1 ? texts.first() : QString("<%1 texts>").arg(texts.size());
}
