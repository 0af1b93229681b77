#include "KelmaraApplication.h"

#include "ErrorGuard.h"
#include "Messages.h"

#include <QLocale>

void useBrazilianLocale()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

KelmaraApplication::KelmaraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(Messages::kApplicationTitle);
    useBrazilianLocale();
}

bool KelmaraApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
