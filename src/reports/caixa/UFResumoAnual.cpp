#include "UFResumoAnual.h"

#include "URResumoAnual.h"

TFFResumoAnual *FFResumoAnual = nullptr;

TFFResumoAnual::TFFResumoAnual(QWidget *owner)
    : CashYearFilter(owner, QStringLiteral("FFResumoAnual"), QStringLiteral("Resumo Anual do Caixa"))
{
}

void TFFResumoAnual::generate(int year)
{
    auto *report = new TFRResumoAnual(this);
    report->setYear(year);
    report->preview();
}
