#include "Startup.h"

#include "ErrorGuard.h"
#include "KelmaraApplication.h"
#include "SystemPaths.h"
#include "UDM.h"

#include <memory>

int runKelmara(int argc, char **argv)
{
    KelmaraApplication app(argc, argv);
    SystemPaths::setApplicationFolder(SystemPaths::executableFolder());
    std::unique_ptr<TDM> dm;
    if (!runGuarded([&] { dm = std::make_unique<TDM>(nullptr); }))
        return 1;
    // The sign-in window takes over from here once it exists; until then the
    // start ends after a successful connection.
    return 0;
}
