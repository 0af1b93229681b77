#pragma once

#include "recordform/RecordForm.h"

class DBEdit;
class DBLookupComboBox;
class DBRadioGroup;
class QLineEdit;

// Cash movements: one row of TMOVIMETACOES per entry or exit of money,
// booked against a monthly cash book. Saving never touches the book's
// balances; the cash book report works them out.
class TFMovimentacoes : public RecordForm
{
    Q_OBJECT
public:
    explicit TFMovimentacoes(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit6;
    DBLookupComboBox *DBLookupComboBox1;
    QToolButton *btnLivro;
    DBRadioGroup *DBRadioGroup1;
    QLineEdit *Edit1; // one pixel wide: Salvar parks the focus there

    void btnLivroClick();
    void btnSalvarClick() override;
};

extern TFMovimentacoes *FMovimentacoes;
