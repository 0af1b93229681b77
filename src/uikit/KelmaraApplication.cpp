#include "KelmaraApplication.h"

#include "Appearance.h"
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
    setOrganizationName(QStringLiteral("Kelmara")); // where the settings of this computer and user are kept
    setApplicationName(Messages::kApplicationTitle);
    useBrazilianLocale();
    Appearance::apply(Appearance::stored()); // before any window is built
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
