#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

// The sign-in window, the first window of the program. Creating it records
// the application folder and creates DM; a correct user name and password
// of an active account (its temporary password changed first) start the
// session, hide the window for good and announce signedIn(); closing it
// ends the program.
class TFLogin : public QWidget
{
    Q_OBJECT
public:
    explicit TFLogin(QWidget *parent = nullptr);

    bool dataModuleReady() const; // DM was created and connected

    QLabel *Image1, *Image2, *Label1, *Label2, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *txtLogin, *txtSenha;
    QToolButton *btnTrocarSenha, *btnEntrar, *btnCancelar;

    void FormShow();
    void btnEntrarClick();
    void btnCancelarClick();
    void btnTrocarSenhaClick();

signals:
    void signedIn(); // the window is hidden; the main window takes over
    void closed();   // the program ends

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    bool changeTemporaryPassword();
};

extern TFLogin *FLogin;
