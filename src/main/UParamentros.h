#pragma once

#include "recordform/RecordForm.h"

class DBEdit;
class DBMemo;

// System parameters: rows of TPARAMETROS, each a code of fixed meaning
// (1: the church's name, printed on the cash book) with a value and a
// description. The code is the user's to choose.
class TFParamentros : public RecordForm
{
    Q_OBJECT
public:
    explicit TFParamentros(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2;
    DBMemo *DBMemo1;

    // Proposes the largest code of the users' own rows + 1, past the codes
    // the program keeps rows under (see ParameterCodes.h): a database that
    // holds only the program's rows proposes 1, as an empty one does.
    void btnNovoClick() override;
};

extern TFParamentros *FParamentros;
