#pragma once

#include "reports/base/YearFilter.h"

// The filter of a report of one year of the cash book: the latest year with
// a book proposed, a year without books refused.
class CashYearFilter : public YearFilter
{
    Q_OBJECT
public:
    using YearFilter::YearFilter;

protected:
    int proposedYear() const override;
    QString refusal(int year) const override;
};
