#pragma once

#include "recordform/RecordForm.h"

class DBEdit;
class DBMemo;
class QLabel;

// Monthly cash book register: one row of TLIVRO per book, one month of one
// year. The balances are the report's business and never shown here. Where
// the database keeps closed months, "Fechar Mês" closes the current book and
// "Reabrir Mês" reopens it (ClosedMonths), and the page says whether and
// when it was closed; a closed book is neither changed nor deleted.
class TFLivroCaixa : public RecordForm
{
    Q_OBJECT
public:
    explicit TFLivroCaixa(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5;
    DBMemo *DBMemo1;
    QToolButton *btnFecharMes = nullptr, *btnReabrirMes = nullptr;
    QLabel *lblFechamento = nullptr; // "Mês fechado em 05/06/2011 por MARIA"

    // The Portuguese name of a month 1 to 12; empty for any other number.
    static QString monthName(int month);

    void DBEdit2Exit();
    void btnSalvarClick() override;
    void btnRelatorioClick() override;
    void btnFecharMesClick();
    void btnReabrirMesClick();
    QString changeRefusal() const override;
    void followState() override;

private:
    TFLivroCaixa(QWidget *owner, bool closesMonths);
    void buildClosing();
    QVariant currentBook() const; // its code; null on no book
};

extern TFLivroCaixa *FLivroCaixa;
