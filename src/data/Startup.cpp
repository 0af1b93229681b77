#include "Startup.h"

#include "uikit/ErrorGuard.h"
#include "SystemPaths.h"
#include "UDM.h"

bool startDataModule(QObject *owner)
{
    SystemPaths::setApplicationFolder(SystemPaths::executableFolder());
    return runGuarded([owner] { new TDM(owner); });
}
