#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

// Change of an account's user name and password, for whoever knows the
// account's current pair (its wrong tries counted with the sign-in's).
// Opened modally from the sign-in window, and by the sign-in itself for an
// account whose password is temporary. A new password has at least eight
// characters and is not the user name; it is stored as its hash.
class TFTrocaSenha : public QDialog
{
    Q_OBJECT
public:
    explicit TFTrocaSenha(QWidget *owner);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QLineEdit *txtLogin, *txtSenha, *txtNovoUsuario, *txtNovaSenha, *txtRepitaSenha;
    QToolButton *btnSalvar, *btnCancelar;

    void FormShow();
    void txtLoginExit();
    // The pair just signed in with, for the change of a temporary password.
    void fillCurrentPair(const QString &userName, const QString &password);
    void btnSalvarClick();
    void btnCancelarClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    void refuse();
    std::pair<QString, QLineEdit *> newPairRefusal(int code) const;
    void store(int code);
};

extern TFTrocaSenha *FTrocaSenha;
