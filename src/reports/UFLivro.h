#pragma once

#include <QDialog>

class DBLookupComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// Choice of the monthly book whose cash book report is made. The book list
// works on the shared books table: choosing a book makes it current there.
class TFFLivro : public QDialog
{
    Q_OBJECT
public:
    explicit TFFLivro(QWidget *owner);

    QLabel *Label1, *Label2, *Label3;
    DBLookupComboBox *DBLookupComboBox1;
    QLineEdit *txtMes, *txtAno;
    QToolButton *btnGerar, *btnSair;

    void FormShow();
    void DBLookupComboBox1Exit();
    void btnGerarClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
};

extern TFFLivro *FFLivro;
