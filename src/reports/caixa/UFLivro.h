#pragma once

#include "reports/base/ReportFilter.h"

class DBLookupComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// Choice of the monthly book whose cash book report is made. The book list
// works on the shared books table: choosing a book makes it current there.
class TFFLivro : public ReportFilter
{
    Q_OBJECT
public:
    explicit TFFLivro(QWidget *owner);

    QLabel *Label1, *Label2, *Label3;
    DBLookupComboBox *DBLookupComboBox1;
    QLineEdit *txtMes, *txtAno;
    QToolButton *btnGerar;
    QToolButton *btnPrestacao = nullptr; // when the database has the categories of the cash book

    void FormShow();
    void DBLookupComboBox1Exit();
    void btnGerarClick();
    void btnPrestacaoClick(); // the month's accounts of the chosen book

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
};

extern TFFLivro *FFLivro;
