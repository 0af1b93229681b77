#include "CashYearFilter.h"

#include "CashYear.h"

int CashYearFilter::proposedYear() const
{
    return CashYear::latestYear();
}

QString CashYearFilter::refusal(int year) const
{
    return CashYear::hasBooks(year) ? QString() : QStringLiteral("Não há livros caixa em %1.").arg(year);
}
