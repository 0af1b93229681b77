#pragma once

#include "reports/base/ReportFilter.h"

class QComboBox;
class QLabel;
class QLineEdit;

// The filter of the tithers' report: a period (both days included) and the
// category of entries counted, or every entry given by a member.
class TFFDizimistas : public ReportFilter
{
    Q_OBJECT
public:
    explicit TFFDizimistas(QWidget *owner);

    QLineEdit *txtDataInicial, *txtDataFinal;
    QComboBox *cmbCategoria; // first "TODAS AS ENTRADAS", then the entry categories by code
    QLabel *Label1, *Label2, *Label3;
    QToolButton *btnGerar;
    QCheckBox *chkLetraGrande;

    void FormShow();
    void btnGerarClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void layOut();
    void listCategories();
};

extern TFFDizimistas *FFDizimistas;
