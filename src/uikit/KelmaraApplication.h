#pragma once

#include <QApplication>

// The application object: titled "KELMARA", Brazilian Portuguese locale
// (short date dd/MM/yyyy, currency "R$ 1.234,50"), the text size kept for
// this computer and user (Appearance), and a last safety net
// that shows any error escaping an event handler instead of ending the run.
class KelmaraApplication : public QApplication
{
    Q_OBJECT
public:
    KelmaraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The locale of the whole program; also used by tools and tests without windows.
void useBrazilianLocale();
