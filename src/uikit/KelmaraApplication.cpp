#include "KelmaraApplication.h"

#include "ErrorGuard.h"
#include "Messages.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void useBrazilianLocale()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

KelmaraApplication::KelmaraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(Messages::kApplicationTitle);
    useBrazilianLocale();
    // Qt's own dialogs and buttons (open-picture dialog, print dialog) in Portuguese.
    auto *translator = new QTranslator(this);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool KelmaraApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
