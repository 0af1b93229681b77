#pragma once

#include "recordform/RecordForm.h"

class DBEdit;
class DBLookupComboBox;
class DBMemo;

// Events register: the church's agenda, one row of TEVENTO per event with
// its date, time and the employee in charge.
class TFEvento : public RecordForm
{
    Q_OBJECT
public:
    explicit TFEvento(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6;
    DBMemo *DBMemo1;
    DBLookupComboBox *DBLookupComboBox1;

    void btnRelatorioClick() override;
};

extern TFEvento *FEvento;
