#pragma once

#include "reports/base/ReportFilter.h"

class QComboBox;
class QLabel;

// Birthdays report filter: the month, the current one proposed.
class TFFAniversariantes : public ReportFilter
{
    Q_OBJECT
public:
    explicit TFFAniversariantes(QWidget *owner);

    QLabel *Label1;
    QComboBox *cbMes; // January to December; the item's index + 1 is the month
    QToolButton *btnGerar;
    QCheckBox *chkLetraGrande;

    int month() const;
    void btnGerarClick();
};

extern TFFAniversariantes *FFAniversariantes;
