#include "Program.h"

#include "data/EngineLocks.h"
#include "data/KelmaraApplication.h"
#include "data/StopSignals.h"
#include "data/UDM.h"
#include "main/UMenu.h"
#include "signin/ULogin.h"

#include <QGuiApplication>
#include <QScreen>

#include <memory>

TFLogin *createSignInWindow(void (*endProgram)())
{
    auto *login = new TFLogin;
    QObject::connect(login, &TFLogin::closed, login, endProgram);
    QObject::connect(login, &TFLogin::signedIn, login, [login, endProgram] {
        auto *menu = new TFMenu(login);
        QObject::connect(menu, &TFMenu::closed, menu, endProgram);
        // The whole screen also where no window manager maximises windows.
        if (QScreen *screen = QGuiApplication::primaryScreen())
            menu->setGeometry(screen->availableGeometry());
        menu->showMaximized();
    });
    return login;
}

int runKelmara(int argc, char **argv)
{
    Q_INIT_RESOURCE(resources);
    EngineLocks::useFolder();
    KelmaraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // the windows' close handlers end the program
    std::unique_ptr<TFLogin> login(createSignInWindow([] { QCoreApplication::quit(); }));
    if (!login->dataModuleReady())
        return 1;
    quitOnStopSignals(); // after connecting: the database client has set its own handlers by then
    login->show();
    return app.exec();
}
