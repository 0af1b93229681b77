#pragma once

#include "ProgramFixture.h"

#include "main/UMenu.h"
#include "signin/ULogin.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

// The program signed in on a fresh database: the sign-in window (with DM),
// the session of an account with `profile`, and the main window, which owns
// the registers a test opens.
struct SignedInProgram
{
    explicit SignedInProgram(Profile profile = Profile::Administrador) { startSession(profile); }

    ProgramFixture fx;
    std::unique_ptr<TFLogin> login{new TFLogin};
    TFMenu *menu = new TFMenu(login.get());

    // A register shown and active, as the main window would show it.
    template <typename Window>
    std::unique_ptr<Window> open()
    {
        auto w = std::make_unique<Window>(menu);
        w->show();
        QApplication::setActiveWindow(w.get());
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("register not active");
        return w;
    }

    // The captions of the windows the commands open, each closed at once.
    static QStringList captionsOpenedBy(const QList<std::function<void()>> &commands)
    {
        QStringList captions;
        for (const auto &command : commands) {
            whenModalOpens([&](QWidget *modal) {
                captions << modal->windowTitle();
                modal->close();
            });
            command();
        }
        return captions;
    }
};

// What a user does with the clipboard: the box's text replaced by a paste.
inline void pasteInto(QLineEdit *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    box->setFocus();
    box->selectAll();
    box->paste();
}
