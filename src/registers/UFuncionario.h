#pragma once

#include "recordform/RecordForm.h"

class DBComboBox;
class DBEdit;
class DBLookupComboBox;

// Employees register: one row of TFUNCIONARIO per employee, with the
// position held and the salary taken from it.
class TFFuncionario : public RecordForm
{
    Q_OBJECT
public:
    explicit TFFuncionario(QWidget *owner);

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit7, *DBEdit8, *DBEdit9, *DBEdit10,
        *DBEdit11, *DBEdit12;
    DBComboBox *DBComboBox1;
    DBLookupComboBox *DBLookupComboBox1;
    QToolButton *btnCargo;

    void btnCargoClick();
    void btnRelatorioClick() override;
    // DBLookupComboBox1KeyDown, DBLookupComboBox1KeyUp and DBLookupComboBox1Exit.
    void copySalaryFromPosition();
};

extern TFFuncionario *FFuncionario;
