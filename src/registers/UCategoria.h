#pragma once

#include "recordform/RecordForm.h"

class DBEdit;
class DBRadioGroup;

// Categories of the cash book: one row of TCATEGORIA per category (dízimos,
// ofertas, energia...), each of entries or of exits. The movements window
// offers the categories of the movement's kind.
class TFCategoria : public RecordForm
{
    Q_OBJECT
public:
    explicit TFCategoria(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2;
    DBRadioGroup *DBRadioGroup1;
    QLineEdit *Edit1; // one pixel wide: Salvar parks the focus there

    void btnSalvarClick() override;
};

extern TFCategoria *FCategoria;
