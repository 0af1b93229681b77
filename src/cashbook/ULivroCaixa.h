#pragma once

#include "recordform/RecordForm.h"

class DBEdit;
class DBMemo;

// Monthly cash book register: one row of TLIVRO per book, one month of one
// year. The balances are the report's business and never shown here.
class TFLivroCaixa : public RecordForm
{
    Q_OBJECT
public:
    explicit TFLivroCaixa(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5;
    DBMemo *DBMemo1;

    // The Portuguese name of a month 1 to 12; empty for any other number.
    static QString monthName(int month);

    void DBEdit2Exit();
    void btnSalvarClick() override;
    void btnRelatorioClick() override;
};

extern TFLivroCaixa *FLivroCaixa;
