#pragma once

#include "recordform/RecordForm.h"

class DBEdit;

// Positions register: one row of TCARGO per position, with its salary.
class TFCargo : public RecordForm
{
    Q_OBJECT
public:
    explicit TFCargo(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3;
};

extern TFCargo *FCargo;
