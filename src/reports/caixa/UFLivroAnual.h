#pragma once

#include "CashYearFilter.h"

// The filter of the yearly cash book.
class TFFLivroAnual : public CashYearFilter
{
    Q_OBJECT
public:
    explicit TFFLivroAnual(QWidget *owner);

protected:
    void generate(int year) override;
};

extern TFFLivroAnual *FFLivroAnual;
