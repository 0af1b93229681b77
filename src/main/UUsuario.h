#pragma once

#include "recordform/RecordForm.h"

class DBComboBox;
class DBEdit;
class DBRadioGroup;

// "Usuários": the accounts of TUSUARIO, each with its user name, full name,
// profile and whether it is active; "Definir Senha" gives an account a
// temporary password, to be changed at its next sign-in. Only an
// Administrador opens it. The last active Administrador stays one, and no
// second account is made while the default account keeps its first password.
class TFUsuario : public RecordForm
{
    Q_OBJECT
public:
    explicit TFUsuario(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3;
    DBComboBox *DBComboBox1;
    DBRadioGroup *DBRadioGroup1;
    QToolButton *btnDefinirSenha;

    void btnNovoClick() override;  // the default account's first password changed first
    void btnSalvarClick() override; // the name, the profile and the last Administrador checked first
    void btnExcluirClick() override;
    void btnDefinirSenhaClick();

    // The dialog that asks for the new password of `userName`: the password,
    // or empty when cancelled. Tests put their own in its place.
    static std::function<QString(QWidget *parent, const QString &userName)> askPassword;
    static QString passwordDialog(QWidget *parent, const QString &userName);

private:
    QString saveRefusal() const;
};

extern TFUsuario *FUsuario;
