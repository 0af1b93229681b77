#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

// Change of an account's user name and password, for whoever knows the
// account's current pair. Opened modally from the sign-in window.
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
    void btnSalvarClick();
    void btnCancelarClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    void refuse();
};

extern TFTrocaSenha *FTrocaSenha;
