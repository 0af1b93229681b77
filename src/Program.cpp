#include "Program.h"

#include "datamodule/EngineLocks.h"
#include "uikit/KelmaraApplication.h"
#include "datamodule/StopSignals.h"
#include "datamodule/UDM.h"
#include "main/StartupUpgrade.h"
#include "main/UCopiaSeguranca.h"
#include "main/UMenu.h"
#include "signin/ULogin.h"

#include <QGuiApplication>
#include <QScreen>

#include <memory>

TFLogin *createSignInWindow(void (*endProgram)())
{
    auto *login = new TFLogin;
    const auto end = [endProgram] {
        TFCopiaSeguranca::makeExitCopy();
        endProgram();
    };
    QObject::connect(login, &TFLogin::closed, login, end);
    QObject::connect(login, &TFLogin::signedIn, login, [login, end] {
        auto *menu = new TFMenu(login);
        QObject::connect(menu, &TFMenu::closed, menu, end);
        // The whole screen also where no window manager maximises windows.
        if (QScreen *screen = QGuiApplication::primaryScreen())
            menu->setGeometry(screen->availableGeometry());
        menu->showMaximized();
        TFCopiaSeguranca::remindIfDue(menu);
    });
    return login;
}

int runKelmara(int argc, char **argv)
{
    Q_INIT_RESOURCE(resources);
    EngineLocks::useFolder();
    KelmaraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // the windows' close handlers end the program
    // Before anything is shown: the start-up error box included.
    quitOnStopSignals([] { QApplication::closeAllWindows(); });
    std::unique_ptr<TFLogin> login(createSignInWindow([] { QCoreApplication::quit(); }));
    if (!login->dataModuleReady())
        return 1;
    StartupUpgrade::run(*DM); // a failure is said; the program runs on at the database's level
    login->show();
    return app.exec();
}
