#include "Startup.h"

#include "ErrorGuard.h"
#include "KelmaraApplication.h"
#include "SystemPaths.h"
#include "UDM.h"

bool startDataModule(QObject *owner)
{
    SystemPaths::setApplicationFolder(SystemPaths::executableFolder());
    return runGuarded([owner] { new TDM(owner); });
}

int runKelmara(int argc, char **argv)
{
    KelmaraApplication app(argc, argv);
    QObject root; // owns DM until the sign-in window exists to own it
    if (!startDataModule(&root))
        return 1;
    // The sign-in window takes over from here once it exists; until then the
    // start ends after a successful connection.
    return 0;
}
