#include "Startup.h"

#include "uikit/ErrorGuard.h"
#include "datamodule/SystemPaths.h"
#include "datamodule/UDM.h"

bool startDataModule(QObject *owner)
{
    SystemPaths::setApplicationFolder(SystemPaths::executableFolder());
    return runGuarded([owner] { new TDM(owner); });
}
