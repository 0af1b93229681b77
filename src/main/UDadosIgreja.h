#pragma once

#include <QDialog>
#include <QMap>

class QLabel;
class QLineEdit;
class QToolButton;

// The church's data printed on the treasurer's reports: name, CNPJ, address,
// city and state, treasurer, pastor or president, secretary and the three
// members of the conselho fiscal, each kept as a parameter row of its own.
class TFDadosIgreja : public QDialog
{
    Q_OBJECT
public:
    explicit TFDadosIgreja(QWidget *owner);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *txtNome, *txtCNPJ, *txtEndereco, *txtCidade, *txtTesoureiro, *txtPastor, *txtSecretario, *txtConselho1,
        *txtConselho2, *txtConselho3;
    QToolButton *btnSalvar, *btnSair;

    void FormShow();
    void btnSalvarClick();

public slots:
    // "Sair", Esc and the close box: asks before typed data is dropped.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void layOut();
    QLineEdit *box(const char *name, int code);
    QMap<int, QString> typed() const;

    QMap<int, QLineEdit *> m_boxes; // by parameter code
    QMap<int, QString> m_shown;     // the values as they were read
};

extern TFDadosIgreja *FDadosIgreja;
