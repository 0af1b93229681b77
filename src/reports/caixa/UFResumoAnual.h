#pragma once

#include "CashYearFilter.h"

// The filter of the year's summary of the cash book.
class TFFResumoAnual : public CashYearFilter
{
    Q_OBJECT
public:
    explicit TFFResumoAnual(QWidget *owner);

protected:
    void generate(int year) override;
};

extern TFFResumoAnual *FFResumoAnual;
