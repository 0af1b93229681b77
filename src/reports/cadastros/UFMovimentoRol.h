#pragma once

#include "reports/base/YearFilter.h"

// The filter of "Movimento do Rol": the year, the current one proposed.
class TFFMovimentoRol : public YearFilter
{
    Q_OBJECT
public:
    explicit TFFMovimentoRol(QWidget *owner);

protected:
    void generate(int year) override;
};

extern TFFMovimentoRol *FFMovimentoRol;
