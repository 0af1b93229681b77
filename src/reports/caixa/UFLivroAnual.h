#pragma once

#include "YearFilter.h"

// The filter of the yearly cash book.
class TFFLivroAnual : public YearFilter
{
    Q_OBJECT
public:
    explicit TFFLivroAnual(QWidget *owner);

protected:
    void generate(int year) override;
};

extern TFFLivroAnual *FFLivroAnual;
