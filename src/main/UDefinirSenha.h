#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

// "Definir Senha": the temporary password an Administrador gives an account,
// typed twice. Salvar closes it only when the two are alike and the
// password may be one (Accounts::passwordRefusal); the account's window
// stores it.
class TFDefinirSenha : public QDialog
{
    Q_OBJECT
public:
    TFDefinirSenha(QWidget *owner, const QString &userName);

    QLabel *Label1, *Label2, *Label3;
    QLineEdit *txtNovaSenha, *txtRepitaSenha;
    QToolButton *btnSalvar, *btnCancelar;

    QString password() const;
    void btnSalvarClick();

private:
    QString m_userName;
};
